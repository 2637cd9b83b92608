#include "contact.h"

#include "font5x7.h"
#include "pathutil.h"

#include <functional>
#include <map>

using toolcommon::Image;
using toolcommon::Manifest;
using toolcommon::ManifestAnim;
using toolcommon::ManifestPicture;
using toolcommon::ManifestUse;
using toolcommon::Rect;
using toolcommon::Rgba;
using toolcommon::UseStatus;

namespace contact {

namespace {

constexpr int kPageW = 1100;
constexpr int kMargin = 8;
constexpr int kGap = 6;

const Rgba kBackground{28, 30, 36, 255};
const Rgba kCheckA{66, 68, 76, 255};
const Rgba kCheckB{84, 86, 94, 255};
const Rgba kText{228, 228, 228, 255};
const Rgba kTitle{250, 240, 140, 255};
const Rgba kReserved{240, 160, 60, 255};
const Rgba kQuiet{140, 140, 140, 255};
const Rgba kBorder{150, 150, 165, 255};
const Rgba kMissing{255, 80, 80, 255};

Rgba StatusColour(UseStatus s) {
    switch (s) {
        case UseStatus::Drawn: return kText;
        case UseStatus::Reserved: return kReserved;
        default: return kQuiet;
    }
}

// Places boxes left to right, wrapping at the page width, and remembers how to draw them.
class Flow {
public:
    void Box(int w, int h, std::function<void(Image&, int, int)> draw) {
        if (x_ > kMargin && x_ + w > kPageW - kMargin) NewLine();
        ops_.push_back({x_, y_, std::move(draw)});
        x_ += w + kGap;
        if (h > rowH_) rowH_ = h;
    }
    void Text(const std::string& s, Rgba c) {
        Box(TextWidth(s), kLineH, [s, c](Image& img, int x, int y) { DrawText(img, x, y, s, c); });
    }
    void Line(const std::string& s, Rgba c) {
        NewLine();
        Text(s, c);
        NewLine();
    }
    void NewLine() {
        if (x_ == kMargin && rowH_ == 0) return;
        y_ += rowH_ + kGap;
        x_ = kMargin;
        rowH_ = 0;
    }
    void Space(int h) {
        NewLine();
        y_ += h;
    }
    Image Render() {
        NewLine();
        Image img(kPageW, y_ + kMargin, kBackground);
        for (auto& op : ops_) op.draw(img, op.x, op.y);
        return img;
    }

private:
    struct Op {
        int x, y;
        std::function<void(Image&, int, int)> draw;
    };
    int x_ = kMargin, y_ = kMargin, rowH_ = 0;
    std::vector<Op> ops_;
};

// Copies a rectangle of 'src' at 'scale', over a checkerboard that shows transparency,
// with a one-pixel frame around it.
void DrawCell(Image& dst, int x, int y, const Image* src, const Rect& r, int scale) {
    int w = r.w * scale, h = r.h * scale;
    for (int j = -1; j <= h; ++j)
        for (int i = -1; i <= w; ++i) {
            if (!dst.Inside(x + 1 + i, y + 1 + j)) continue;
            Rgba c;
            if (i < 0 || j < 0 || i == w || j == h) {
                c = kBorder;
            } else {
                c = ((i / 8 + j / 8) % 2) ? kCheckA : kCheckB;
                int sx = r.x + i / scale, sy = r.y + j / scale;
                if (src && src->Inside(sx, sy)) {
                    Rgba p = src->at(sx, sy);
                    if (toolcommon::IsVisible(p)) {
                        // blend partly transparent pixels over the checkerboard
                        c = Rgba{uint8_t((p.r * p.a + c.r * (255 - p.a)) / 255),
                                 uint8_t((p.g * p.a + c.g * (255 - p.a)) / 255),
                                 uint8_t((p.b * p.a + c.b * (255 - p.a)) / 255), 255};
                    }
                }
            }
            dst.at(x + 1 + i, y + 1 + j) = c;
        }
}

std::string Describe(const ManifestAnim& a) {
    if (a.isRect)
        return a.name + "  rect " + std::to_string(a.rect.x) + "," + std::to_string(a.rect.y) + " " +
               std::to_string(a.rect.w) + "x" + std::to_string(a.rect.h);
    if (a.name == "whole") return "";
    std::string s = a.name + "  frames " + std::to_string(a.start);
    if (a.end != a.start) s += "-" + std::to_string(a.end);
    return s + "  layer " + std::to_string(a.layer);
}

bool CutIntoCells(const ManifestPicture& p) {
    for (const ManifestUse& u : p.uses)
        if (u.framew != 0) return true;
    return false;
}

void AddPicture(Flow& flow, const ManifestPicture& p, const Image* img, std::vector<std::string>& problems) {
    flow.Line(p.path + "  " + std::to_string(p.width) + "x" + std::to_string(p.height), kTitle);
    if (!img) {
        flow.Line("MISSING from the data folder", kMissing);
        problems.push_back(p.path + ": missing");
    } else if (img->width != p.width || img->height != p.height) {
        flow.Line("is " + std::to_string(img->width) + "x" + std::to_string(img->height) + ", listed as " +
                      std::to_string(p.width) + "x" + std::to_string(p.height),
                  kMissing);
        problems.push_back(p.path + ": wrong size");
    }
    bool cut = CutIntoCells(p);
    if (cut) {  // the whole sheet once at picture scale, for orientation
        flow.NewLine();
        Rect all{0, 0, p.width, p.height};
        flow.Box(p.width + 2, p.height + 2,
                 [img, all](Image& dst, int x, int y) { DrawCell(dst, x - 1, y - 1, img, all, 1); });
        flow.NewLine();
    }
    for (const ManifestUse& u : p.uses) {
        std::string head = u.name;
        if (u.framew) head += "  " + std::to_string(u.framew) + "x" + std::to_string(u.frameh) + " cells";
        if (u.status != UseStatus::Drawn) head += "  [" + std::string(toolcommon::StatusName(u.status)) + "]";
        if (!u.group.empty()) head += "  group " + u.group;
        flow.Line(head, StatusColour(u.status));
        for (const ManifestAnim& a : u.anims) {
            std::string label = Describe(a);
            if (a.status != u.status) label += "  [" + std::string(toolcommon::StatusName(a.status)) + "]";
            if (!label.empty()) flow.Line(label, StatusColour(a.status));
            int scale = 2;
            std::vector<Rect> cells = toolcommon::AnimCells(p, u, a);
            int f = a.start;
            for (const Rect& r : cells) {
                if (r.w * scale + 2 > kPageW - 2 * kMargin) scale = 1;
                int w = r.w * scale + 2, h = r.h * scale + 2;
                std::string num = a.isRect || a.name == "whole" ? "" : std::to_string(f);
                flow.Box(std::max(w, TextWidth(num)), h + kLineH,
                         [img, r, scale, num, c = StatusColour(a.status)](Image& dst, int x, int y) {
                             DrawText(dst, x, y, num, c);
                             DrawCell(dst, x, y + kLineH, img, r, scale);
                         });
                ++f;
            }
            flow.NewLine();
        }
    }
    flow.Space(kGap);
}

std::string Sanitize(std::string s) {
    for (char& c : s)
        if (c == '/') c = '_';
    return toolcommon::LowerAscii(s);
}

}  // namespace

std::string PageName(const ManifestPicture& pic) {
    std::string path = pic.path;
    if (toolcommon::LowerAscii(path).rfind("data/", 0) == 0) path = path.substr(5);
    if (CutIntoCells(pic)) {
        if (path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0) path.resize(path.size() - 4);
        return Sanitize(path) + ".png";
    }
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "data" : path.substr(0, slash);
    return Sanitize(folder) + "_pictures.png";
}

std::vector<Page> BuildPages(const Manifest& manifest, const std::string& root, std::vector<std::string>& problems) {
    std::map<std::string, std::vector<const ManifestPicture*>> byPage;
    std::vector<std::string> order;
    for (const ManifestPicture& p : manifest.pictures) {
        std::string name = PageName(p);
        if (!byPage.count(name)) order.push_back(name);
        byPage[name].push_back(&p);
    }
    std::vector<Page> pages;
    std::map<std::string, Image> loaded;
    for (const std::string& name : order) {
        Flow flow;
        for (const ManifestPicture* p : byPage[name]) {
            const Image* img = nullptr;
            if (auto real = toolcommon::ResolveNoCase(root, p->path)) {
                try {
                    loaded[p->path] = toolcommon::ReadPng(*real);
                    img = &loaded[p->path];
                } catch (const toolcommon::FileError& e) {
                    problems.push_back(e.what());
                }
            }
            AddPicture(flow, *p, img, problems);
        }
        pages.push_back(Page{name, flow.Render()});
    }
    return pages;
}

}  // namespace contact
