// Contact sheets: every animation and picture use of the manifest, labelled, at game scale.
#pragma once

#include "image.h"
#include "manifest.h"

#include <string>
#include <vector>

namespace contact {

struct Page {
    std::string name;  // file name without folder, e.g. "enemy_enemy_sheet1.png"
    toolcommon::Image image;
};

// Pictures cut into cells get a page each; pictures shown only whole are grouped by folder.
// Pictures are looked up under 'root' (the folder holding data/) without regard to case.
// Missing or wrongly sized pictures are drawn as a red note and reported in 'problems'.
std::vector<Page> BuildPages(const toolcommon::Manifest& manifest, const std::string& root,
                             std::vector<std::string>& problems);

// The page a picture lands on.
std::string PageName(const toolcommon::ManifestPicture& pic);

}  // namespace contact
