// piccompile SHEETFILE OUTDIR     draws the sheet and writes OUTDIR/<its output path>
// piccompile --check FILE...      only reads .sheet and .pic files and reports errors
#include "image.h"
#include "picsource.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace toolcommon;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: piccompile SHEETFILE OUTDIR\n"
                 "       piccompile --check FILE.sheet|FILE.pic ...\n");
    return 2;
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc >= 2 && std::strcmp(argv[1], "--check") == 0) {
            if (argc < 3) return Usage();
            int failures = 0;
            for (int i = 2; i < argc; ++i) {
                std::string f = argv[i];
                try {
                    if (EndsWith(f, ".pic"))
                        ReadPic(f);
                    else
                        CompileSheet(f);
                } catch (const std::exception& e) {
                    std::fprintf(stderr, "%s\n", e.what());
                    ++failures;
                }
            }
            return failures ? 1 : 0;
        }
        if (argc != 3) return Usage();
        CompiledSheet sheet = CompileSheet(argv[1]);
        std::string out = std::string(argv[2]) + "/" + sheet.output;
        WritePngAtomic(out, sheet.image);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
