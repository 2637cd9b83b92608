// contactsheet [--update | --out DIR] [--root DIR] [--manifest FILE]
//
// Renders every use of every picture in the manifest, labelled, at game scale (2x).
//   --update     write the pages to docs/contact/ in the source tree
//   --out DIR    write the pages to DIR (default: ./contact)
//   --root DIR   the folder that holds data/ (default: the build folder)
//   --manifest   the manifest to read (default: assets/manifest.txt in the source tree)
#include "contact.h"
#include "image.h"
#include "manifest.h"
#include "picsource.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::string out = "contact";
    std::string root = CONTACT_DATA_PARENT;
    std::string manifestPath = std::string(CONTACT_SOURCE_DIR) + "/assets/manifest.txt";
    bool update = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--update") {
            update = true;
            out = std::string(CONTACT_SOURCE_DIR) + "/docs/contact";
        } else if ((a == "--out" || a == "--root" || a == "--manifest") && i + 1 < argc) {
            (a == "--out" ? out : a == "--root" ? root : manifestPath) = argv[++i];
        } else {
            std::fprintf(stderr, "usage: contactsheet [--update | --out DIR] [--root DIR] [--manifest FILE]\n");
            return 2;
        }
    }
    try {
        toolcommon::Manifest manifest = toolcommon::ReadManifest(manifestPath);
        std::vector<std::string> problems;
        std::vector<contact::Page> pages = contact::BuildPages(manifest, root, problems);
        std::set<std::string> written;
        for (const contact::Page& p : pages) {
            toolcommon::WritePngAtomic(out + "/" + p.name, p.image);
            written.insert(p.name);
        }
        // Pages of pictures that left the manifest would be stale: remove them.
        if (update && fs::is_directory(out))
            for (const auto& e : fs::directory_iterator(out))
                if (e.path().extension() == ".png" && !written.count(e.path().filename().string()))
                    fs::remove(e.path());
        for (const std::string& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
        std::printf("%zu contact pages written to %s\n", pages.size(), out.c_str());
        return problems.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
