// Writes the module of bench/format-real.sh (RealModuleGenerator.h):
//   gen_real_module EXAMPLES_DIR OUTPUT_FILE [LINES]
// The default is a million lines (about 36 MB).
#include "RealModuleGenerator.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: gen_real_module EXAMPLES_DIR OUTPUT_FILE [LINES]\n";
        return 2;
    }
    const long target = argc > 3 ? std::stol(argv[3]) : 1000000;
    std::ofstream out(argv[2], std::ios::binary);
    const long written = kemptor::bench::WriteRealModule(argv[1], out, target);
    if (written == 0) {
        std::cerr << "gen_real_module: no procedures found under " << argv[1] << "\n";
        return 2;
    }
    std::cerr << "gen_real_module: " << written << " lines written to " << argv[2] << "\n";
    return out ? 0 : 1;
}
