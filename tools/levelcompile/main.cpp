// levelcompile [--manifest FILE] SOURCE.level OUTPUT.zlv
//     compiles one side of one segment; with a manifest, every tile picture the source names
//     must be listed there as data/tiles/NAME
// A malformed source stops the tool with FILE:LINE: reason and leaves no output behind.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "image.h"
#include "levelsource.h"
#include "manifest.h"
#include "picsource.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: levelcompile [--manifest FILE] SOURCE.level OUTPUT.zlv\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string manifestFile, source, output;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--manifest") == 0 && i + 1 < argc) {
            manifestFile = argv[++i];
        } else if (source.empty()) {
            source = argv[i];
        } else if (output.empty()) {
            output = argv[i];
        } else {
            return Usage();
        }
    }
    if (source.empty() || output.empty()) return Usage();
    try {
        toolcommon::Manifest manifest;
        if (!manifestFile.empty()) manifest = toolcommon::ReadManifest(manifestFile);
        std::ifstream in(source, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "%s: cannot read\n", source.c_str());
            return 1;
        }
        std::stringstream ss;
        ss << in.rdbuf();
        levelsrc::SourceName name = levelsrc::ParseSourceName(source);
        auto exists = [&](const std::string& pic) { return manifest.Find("data/tiles/" + pic) != nullptr; };
        level::SideFile f = manifestFile.empty() ? levelsrc::Compile(ss.str(), source, name)
                                                 : levelsrc::Compile(ss.str(), source, name, exists);
        std::string text = level::Write(f);
        // What is written must read back as what was compiled.
        level::SideFile back;
        level::ParseError err;
        if (!level::Parse(text, levelsrc::kWidth, levelsrc::kHeight, &back, &err) || !(back == f)) {
            std::fprintf(stderr, "%s: the written level does not read back (%d: %s)\n", source.c_str(), err.line,
                         err.reason.c_str());
            return 1;
        }
        toolcommon::WriteTextAtomic(output, text);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
