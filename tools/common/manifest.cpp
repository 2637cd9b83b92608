#include "manifest.h"

#include "pathutil.h"
#include "picsource.h"

#include <sstream>

namespace toolcommon {

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line.substr(0, line.find('#')));
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

int Num(const std::string& s, const std::string& file, int line) {
    if (s.empty() || s.size() > 6) throw SourceError(file, line, "bad number '" + s + "'");
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') throw SourceError(file, line, "bad number '" + s + "'");
        v = v * 10 + (c - '0');
    }
    return v;
}

UseStatus Status(const std::string& s, const std::string& file, int line) {
    if (s == "drawn") return UseStatus::Drawn;
    if (s == "reserved") return UseStatus::Reserved;
    if (s == "unused") return UseStatus::Unused;
    if (s == "blank") return UseStatus::Blank;
    if (s == "borrowed") return UseStatus::Borrowed;
    throw SourceError(file, line, "status must be drawn, reserved, unused, blank or borrowed, not '" + s + "'");
}

}  // namespace

const char* StatusName(UseStatus s) {
    switch (s) {
        case UseStatus::Drawn: return "drawn";
        case UseStatus::Reserved: return "reserved";
        case UseStatus::Unused: return "unused";
        case UseStatus::Blank: return "blank";
        case UseStatus::Borrowed: return "borrowed";
    }
    return "?";
}

const ManifestPicture* Manifest::Find(const std::string& path) const {
    std::string want = LowerAscii(path);
    for (const ManifestPicture& p : pictures)
        if (LowerAscii(p.path) == want) return &p;
    return nullptr;
}

std::vector<Rect> AnimCells(const ManifestPicture& pic, const ManifestUse& use, const ManifestAnim& anim) {
    if (anim.isRect) return {anim.rect};
    int fw = use.framew ? use.framew : pic.width;
    int fh = use.frameh ? use.frameh : pic.height;
    std::vector<Rect> cells;
    for (int f = anim.start; f <= anim.end; ++f) cells.push_back(Rect{f * fw, anim.layer * fh, fw, fh});
    return cells;
}

Manifest ParseManifestText(const std::string& text, const std::string& file) {
    Manifest m;
    m.file = file;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    ManifestPicture* pic = nullptr;
    ManifestUse* use = nullptr;
    while (std::getline(in, raw)) {
        ++lineNo;
        std::vector<std::string> w = Words(raw);
        if (w.empty()) continue;
        const std::string& kw = w[0];
        if (kw == "picture") {
            if (w.size() != 4) throw SourceError(file, lineNo, "expected: picture PATH WIDTH HEIGHT");
            if (m.Find(w[1])) throw SourceError(file, lineNo, "picture " + w[1] + " listed twice");
            ManifestPicture p;
            p.path = w[1];
            p.width = Num(w[2], file, lineNo);
            p.height = Num(w[3], file, lineNo);
            if (p.width == 0 || p.height == 0) throw SourceError(file, lineNo, "picture size must not be 0");
            p.line = lineNo;
            m.pictures.push_back(p);
            pic = &m.pictures.back();
            use = nullptr;
        } else if (kw == "use" || kw == "whole") {
            if (!pic) throw SourceError(file, lineNo, "'" + kw + "' before any 'picture'");
            ManifestUse u;
            u.line = lineNo;
            size_t next;
            if (kw == "use") {
                if (w.size() < 5) throw SourceError(file, lineNo, "expected: use NAME FRAMEW FRAMEH STATUS [group=G]");
                u.name = w[1];
                u.framew = Num(w[2], file, lineNo);
                u.frameh = Num(w[3], file, lineNo);
                if (u.framew == 0 || u.frameh == 0) throw SourceError(file, lineNo, "frame size must not be 0");
                u.status = Status(w[4], file, lineNo);
                next = 5;
            } else {
                if (w.size() < 3) throw SourceError(file, lineNo, "expected: whole NAME STATUS [group=G]");
                u.name = w[1];
                u.status = Status(w[2], file, lineNo);
                ManifestAnim a;
                a.name = "whole";
                a.status = u.status;
                a.line = lineNo;
                u.anims.push_back(a);
                next = 3;
            }
            for (; next < w.size(); ++next) {
                if (w[next].rfind("group=", 0) == 0 && w[next].size() > 6)
                    u.group = w[next].substr(6);
                else
                    throw SourceError(file, lineNo, "unexpected '" + w[next] + "'");
            }
            for (const ManifestUse& o : pic->uses)
                if (o.name == u.name)
                    throw SourceError(file, lineNo, "use " + u.name + " listed twice for " + pic->path);
            pic->uses.push_back(u);
            use = kw == "use" ? &pic->uses.back() : nullptr;
        } else if (kw == "anim" || kw == "rect") {
            if (!use) throw SourceError(file, lineNo, "'" + kw + "' outside a 'use'");
            ManifestAnim a;
            a.line = lineNo;
            a.status = use->status;
            size_t next;
            if (kw == "anim") {
                if (w.size() < 5) throw SourceError(file, lineNo, "expected: anim NAME START END LAYER [STATUS]");
                a.name = w[1];
                a.start = Num(w[2], file, lineNo);
                a.end = Num(w[3], file, lineNo);
                a.layer = Num(w[4], file, lineNo);
                if (a.end < a.start) throw SourceError(file, lineNo, "end frame before start frame");
                next = 5;
            } else {
                if (w.size() < 6) throw SourceError(file, lineNo, "expected: rect NAME X Y W H [STATUS]");
                a.name = w[1];
                a.isRect = true;
                a.rect = Rect{Num(w[2], file, lineNo), Num(w[3], file, lineNo), Num(w[4], file, lineNo),
                              Num(w[5], file, lineNo)};
                if (a.rect.w == 0 || a.rect.h == 0) throw SourceError(file, lineNo, "empty rectangle");
                next = 6;
            }
            if (next < w.size()) a.status = Status(w[next++], file, lineNo);
            if (next < w.size()) throw SourceError(file, lineNo, "unexpected '" + w[next] + "'");
            use->anims.push_back(a);
        } else {
            throw SourceError(file, lineNo, "unknown keyword '" + kw + "'");
        }
    }
    for (const ManifestPicture& p : m.pictures)
        for (const ManifestUse& u : p.uses)
            if (u.anims.empty()) throw SourceError(file, u.line, "use " + u.name + " has no anim or rect lines");
    return m;
}

Manifest ReadManifest(const std::string& file) { return ParseManifestText(ReadTextFile(file), file); }

}  // namespace toolcommon
