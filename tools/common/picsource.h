// Reader for the picture sources: pixel maps (.pic) and sheets (.sheet) that place maps
// onto one output picture.
//
// .pic:   a legend (char -> colour or 'transparent') followed by named maps of legend chars.
// .sheet: output path, size, fill, key mode, 'use' lines loading .pic files, and 'put' / 'grid'
//         lines placing maps (optionally flipped or recoloured).
//
// Every malformed input throws SourceError whose message is "FILE:LINE: reason".
#pragma once

#include "image.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace toolcommon {

struct SourceError : std::runtime_error {
    SourceError(const std::string& file, int line, const std::string& reason);
    std::string file;
    int line;
    std::string reason;
};

using Legend = std::map<char, Rgba>;  // a == 0 means transparent

struct PicMap {
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<std::string> rows;  // height rows of width legend chars
    std::string file;               // where it was defined, for messages
    int line = 0;
    Legend legend;  // the legend of its file
};

struct PicFile {
    std::string path;
    Legend legend;
    std::vector<PicMap> maps;
    const PicMap* Find(const std::string& name) const;
};

// Parses .pic text; 'path' is used in messages only.
PicFile ParsePicText(const std::string& text, const std::string& path);
// Reads and parses a .pic file.
PicFile ReadPic(const std::string& path);

enum class KeyMode { Magenta, Alpha };

struct CompiledSheet {
    std::string sheetPath;
    std::string output;  // relative to the data folder, as written in the sheet
    Image image;         // transparent pixels already written per the key mode
    KeyMode key = KeyMode::Alpha;
    std::vector<std::string> usedFiles;  // .pic paths the sheet loaded
};

// Parses the sheet text and draws it; 'path' names the sheet (messages and the folder
// its 'use' lines are relative to).
CompiledSheet CompileSheetText(const std::string& text, const std::string& path);
// Reads the sheet file and draws it.
CompiledSheet CompileSheet(const std::string& path);

// Reads a whole text file; throws FileError naming it when it cannot be read.
std::string ReadTextFile(const std::string& path);

}  // namespace toolcommon
