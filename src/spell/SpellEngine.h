#pragma once
// The dictionary engine under HunspellSpeller: Hunspell where the build has it (src/spell/hunspell/),
// none in the Windows build (src/spell/none/), where every word then counts as known.

#include <memory>
#include <string>
#include <vector>

#include "spell/HunspellSpeller.h"

namespace kemptor {

struct HunspellSpeller::Engine {
    // The engine over one installed dictionary; nullptr when this build has no engine. Words are UTF-8.
    static std::unique_ptr<Engine> Open(const std::string& affPath, const std::string& dicPath);
    virtual ~Engine() = default;
    virtual bool Spell(const std::string& word) = 0;
    virtual std::vector<std::string> Suggest(const std::string& word) = 0;
    virtual void Add(const std::string& word) = 0;
};

} // namespace kemptor
