// xmcompile: turns a text score into an extended module (".xm").
//   xmcompile SCORE OUTPUT.xm [--info]
// On a malformed score it prints FILE:LINE: reason and leaves no output behind.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "score.h"
#include "xm_module.h"

namespace {

bool WriteAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    std::string temp = path + ".tmp" + std::to_string(static_cast<long>(getpid()));
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot create " + temp;
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            error = "cannot write " + temp;
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        error = "cannot replace " + path;
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    bool info = false;
    std::string input, output;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--info")
            info = true;
        else if (input.empty())
            input = a;
        else if (output.empty())
            output = a;
        else {
            std::cerr << "usage: xmcompile SCORE OUTPUT.xm [--info]\n";
            return 2;
        }
    }
    if (input.empty() || output.empty()) {
        std::cerr << "usage: xmcompile SCORE OUTPUT.xm [--info]\n";
        return 2;
    }
    std::ifstream in(input, std::ios::binary);
    if (!in) {
        std::cerr << input << ": cannot open the score\n";
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    xm::Module module;
    xm::ScoreError error;
    if (!xm::CompileScore(text.str(), input, module, error)) {
        std::cerr << error.Message() << "\n";
        return 1;
    }
    std::string why;
    if (!WriteAtomically(output, xm::Write(module), why)) {
        std::cerr << output << ": " << why << "\n";
        return 1;
    }
    if (info) {
        std::printf("%s: %d rows, %zu orders, %zu patterns, %zu instruments, %.2f s at speed %d, %d BPM\n",
                    output.c_str(), module.TotalRows(), module.order.size(), module.patterns.size(),
                    module.instruments.size(), module.LengthSeconds(), module.speed, module.bpm);
    }
    return 0;
}
