// The xmcompile command: good scores make a module, bad ones leave nothing behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "xm_module.h"

namespace {

// One folder per test, as CTest may run the tests of this file side by side.
std::string Dir() {
    std::string d = std::string(BRACKMOOR_BINARY_DIR) + "/tests/xmcompile_cli";
    mkdir(d.c_str(), 0755);
    d += std::string("/") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    mkdir(d.c_str(), 0755);
    return d;
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Runs the compiler; returns its exit status and fills `err` with its stderr.
int RunCompiler(const std::string& args, std::string& err) {
    std::string errFile = Dir() + "/stderr.txt";
    std::string cmd = std::string(XMCOMPILE_EXE) + " " + args + " 2>" + errFile;
    int status = std::system(cmd.c_str());
    err = ReadText(errFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const char* kGood =
    "title \"cli\"\n"
    "bpm 120\n"
    "instrument a wave=square\n"
    "pattern p 4\n"
    "1 @a c4 d4 e4 f4\n"
    "order p p\n";

TEST(XmCompileCommand, WritesAModule) {
    std::string src = Dir() + "/good.song", out = Dir() + "/good.xm";
    std::remove(out.c_str());
    WriteText(src, kGood);
    std::string err;
    ASSERT_EQ(RunCompiler(src + " " + out, err), 0) << err;
    std::string bytes = ReadText(out);
    xm::Module m;
    std::string why;
    ASSERT_TRUE(xm::Read(std::vector<uint8_t>(bytes.begin(), bytes.end()), m, why)) << why;
    EXPECT_EQ(m.name, "cli");
    EXPECT_EQ(m.bpm, 120);
    EXPECT_EQ(m.order.size(), 2u);
}

TEST(XmCompileCommand, BadScoreNamesFileAndLineAndKeepsOldOutput) {
    std::string src = Dir() + "/bad.song", out = Dir() + "/bad.xm";
    std::string bad = kGood;
    bad.replace(bad.find("f4"), 2, "f4:3");  // line 5 now runs past the pattern
    WriteText(src, bad);
    WriteText(out, "previous");
    std::string err;
    EXPECT_EQ(RunCompiler(src + " " + out, err), 1);
    EXPECT_EQ(err.rfind(src + ":5: ", 0), 0u) << err;
    EXPECT_EQ(ReadText(out), "previous");  // untouched
    // no temporary file is left beside the output
    std::string listing = Dir() + "/listing.txt";
    EXPECT_EQ(std::system(("ls " + Dir() + " > " + listing).c_str()), 0);
    EXPECT_EQ(ReadText(listing).find(".tmp"), std::string::npos);
}

TEST(XmCompileCommand, MissingInputAndUnwritableOutput) {
    std::string err;
    EXPECT_EQ(RunCompiler(Dir() + "/no_such.song " + Dir() + "/x.xm", err), 1);
    EXPECT_NE(err.find("no_such.song"), std::string::npos);
    EXPECT_FALSE(Exists(Dir() + "/x.xm"));
    std::string src = Dir() + "/good2.song";
    WriteText(src, kGood);
    EXPECT_EQ(RunCompiler(src + " " + Dir() + "/no_dir/x.xm", err), 1);
    EXPECT_NE(err.find("x.xm"), std::string::npos);
    EXPECT_NE(RunCompiler("", err), 0);  // usage
}

}  // namespace
