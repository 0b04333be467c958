// HunspellSpeller's engine: Hunspell over an installed dictionary.
#include "spell/SpellEngine.h"

#include <hunspell.hxx>

namespace kemptor {

std::unique_ptr<HunspellSpeller::Engine> HunspellSpeller::Engine::Open(const std::string& affPath,
                                                                       const std::string& dicPath) {
    // Declared here, inside the speller's own scope, where its private Engine may be named.
    class HunspellEngine : public Engine {
    public:
        HunspellEngine(const std::string& aff, const std::string& dic)
            : hunspell_(aff.c_str(), dic.c_str()) {}
        bool Spell(const std::string& word) override { return hunspell_.spell(word); }
        std::vector<std::string> Suggest(const std::string& word) override { return hunspell_.suggest(word); }
        void Add(const std::string& word) override { hunspell_.add(word); }

    private:
        Hunspell hunspell_;
    };
    return std::make_unique<HunspellEngine>(affPath, dicPath);
}

} // namespace kemptor
