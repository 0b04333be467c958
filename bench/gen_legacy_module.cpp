// Writes the second module of bench/format-real.sh (LegacyModuleGenerator.h):
//   gen_legacy_module OUTPUT_FILE [LINES]
// The default is a million lines.
#include "LegacyModuleGenerator.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: gen_legacy_module OUTPUT_FILE [LINES]\n";
        return 2;
    }
    const long target = argc > 2 ? std::stol(argv[2]) : 1000000;
    std::ofstream out(argv[1], std::ios::binary);
    const long written = kemptor::bench::LegacyModuleGenerator(out, 19960301).Write(target);
    std::cerr << "gen_legacy_module: " << written << " lines written to " << argv[1] << "\n";
    return out ? 0 : 1;
}
