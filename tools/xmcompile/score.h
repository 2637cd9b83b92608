// The text score language compiled into an extended module (described in assets/music/README.md).
#pragma once

#include <string>

#include "xm_module.h"

namespace xm {

struct ScoreError {
    std::string file;
    int line = 0;  // 0 when the fault belongs to the whole file
    std::string reason;
    std::string Message() const {
        return line > 0 ? file + ":" + std::to_string(line) + ": " + reason : file + ": " + reason;
    }
};

// Compiles score text; `file` only names the source in error messages.
// Returns false with `error` filled on the first fault.
bool CompileScore(const std::string& text, const std::string& file, Module& out, ScoreError& error);

}  // namespace xm
