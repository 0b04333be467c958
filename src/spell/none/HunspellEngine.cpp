// A build without Hunspell (the Windows command line): there is no engine, so the speller reports
// itself unavailable and every word counts as known.
#include "spell/SpellEngine.h"

namespace kemptor {

std::unique_ptr<HunspellSpeller::Engine> HunspellSpeller::Engine::Open(const std::string&,
                                                                       const std::string&) {
    return nullptr;
}

} // namespace kemptor
