// A render-free run inside a test process, through the program's own frame loop: the recorded bot
// run of the first level must follow its state trace frame for frame with no GL context at all.
// This executable replaces every GL entry point the engine, the game and the headless backend use
// with a counter of its own, so a GL call anywhere in the run (a new raw call in game code, an
// upload that forgot the mode) fails here by name instead of going quietly nowhere.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/FramePng.h"
#include "engine/GFont.h"
#include "engine/GImage.h"
#include "engine/GL.h"
#include "engine/GameEngine.h"
#include "engine/RunOptions.h"
#include "game/flow/MainFile.h"
#include "platform/Backend.h"
#include "platform/Options.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

namespace {
long g_glCalls = 0;
std::string g_firstCall;
void Called(const char* name) {
    if (g_glCalls++ == 0) g_firstCall = name;
}
}  // namespace

// Same signatures as the GL header; these win over the GL library's at link time.
#define GL_STUB(ret, name, params, value) \
    ret GLAPIENTRY name params {          \
        Called(#name);                    \
        return value;                     \
    }
#define GL_VSTUB(name, params) \
    void GLAPIENTRY name params { Called(#name); }
GL_VSTUB(glMatrixMode, (GLenum))
GL_VSTUB(glRotatef, (GLfloat, GLfloat, GLfloat, GLfloat))
GL_VSTUB(glLoadIdentity, (void))
GL_VSTUB(glTexCoord2f, (GLfloat, GLfloat))
GL_VSTUB(glVertex2f, (GLfloat, GLfloat))
GL_VSTUB(glVertex3f, (GLfloat, GLfloat, GLfloat))
GL_VSTUB(glTranslatef, (GLfloat, GLfloat, GLfloat))
GL_VSTUB(glEnable, (GLenum))
GL_VSTUB(glDisable, (GLenum))
GL_VSTUB(glViewport, (GLint, GLint, GLsizei, GLsizei))
GL_VSTUB(glBegin, (GLenum))
GL_VSTUB(glEnd, (void))
GL_VSTUB(glBindTexture, (GLenum, GLuint))
GL_VSTUB(glTexParameteri, (GLenum, GLenum, GLint))
GL_VSTUB(glPushMatrix, (void))
GL_VSTUB(glPopMatrix, (void))
GL_VSTUB(glPixelStorei, (GLenum, GLint))
GL_VSTUB(glTexImage2D, (GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*))
GL_VSTUB(glCopyTexSubImage2D, (GLenum, GLint, GLint, GLint, GLint, GLint, GLsizei, GLsizei))
GL_VSTUB(glOrtho, (GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble))
GL_VSTUB(glFrustum, (GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble))
GL_VSTUB(glGetIntegerv, (GLenum, GLint*))
GL_VSTUB(glColor4f, (GLfloat, GLfloat, GLfloat, GLfloat))
GL_VSTUB(glClearColor, (GLclampf, GLclampf, GLclampf, GLclampf))
GL_VSTUB(glClearDepth, (GLclampd))
GL_VSTUB(glClear, (GLbitfield))
GL_VSTUB(glReadPixels, (GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, GLvoid*))
GL_VSTUB(glPushAttrib, (GLbitfield))
GL_VSTUB(glPopAttrib, (void))
GL_VSTUB(glGenTextures, (GLsizei, GLuint*))
GL_VSTUB(glDeleteTextures, (GLsizei, const GLuint*))
GL_STUB(GLuint, glGenLists, (GLsizei), 0)
GL_VSTUB(glDeleteLists, (GLuint, GLsizei))
GL_VSTUB(glNewList, (GLuint, GLenum))
GL_VSTUB(glEndList, (void))
GL_VSTUB(glListBase, (GLuint))
GL_VSTUB(glCallLists, (GLsizei, GLenum, const GLvoid*))
GL_VSTUB(glBitmap, (GLsizei, GLsizei, GLfloat, GLfloat, GLfloat, GLfloat, const GLubyte*))
GL_VSTUB(glRasterPos2f, (GLfloat, GLfloat))
GL_VSTUB(glShadeModel, (GLenum))
GL_VSTUB(glHint, (GLenum, GLenum))
GL_VSTUB(glDepthFunc, (GLenum))
GL_VSTUB(glEnableClientState, (GLenum))
GL_VSTUB(glVertexPointer, (GLint, GLenum, GLsizei, const GLvoid*))
GL_VSTUB(glTexCoordPointer, (GLint, GLenum, GLsizei, const GLvoid*))
GL_VSTUB(glColorPointer, (GLint, GLenum, GLsizei, const GLvoid*))
GL_VSTUB(glDrawArrays, (GLenum, GLint, GLsizei))
GL_VSTUB(glColor4fv, (const GLfloat*))
GL_VSTUB(glBlendFunc, (GLenum, GLenum))
GL_VSTUB(glFinish, (void))

TEST(RenderFreeRun, TheRecordedLevelOneRunFollowsItsTraceWithoutAnyGLCall) {
    std::string replay = testsupport::ReadFile(BOT_REPLAY_FILE);
    unsigned seed = 0;
    long frames = 0;
    ASSERT_EQ(std::sscanf(replay.c_str(), "# seed %u frames %ld", &seed, &frames), 2) << BOT_REPLAY_FILE;
    std::string dir = testsupport::MakeTempDir("renderfree");
    ASSERT_FALSE(dir.empty());

    // What main does for `--no-render --seed S --frames N --replay R --check-trace T --dump-state D`.
    platform::Options& o = platform::CurrentOptions();
    o.haveSeed = true;
    o.seed = seed;
    o.frames = frames;
    o.replayFile = BOT_REPLAY_FILE;
    o.checkTraceFile = BOT_TRACE_FILE;
    o.dumpStateFile = dir + "/state.json";
    o.noRender = true;
    platform::SetDataDir(BRACKMOOR_DATA_DIR);
    platform::SetSaveDir(dir);
    testsupport::UseRenderFree();
    ASSERT_TRUE(runoptions::Prepare());
    char start[] = "";
    // A frame that leaves the trace stops the run with status 1 and its FILE:LINE on stderr.
    EXPECT_EQ(WinMain(nullptr, nullptr, start, 0), 0);
    EXPECT_EQ(gEngine.frameCount, frames);
    EXPECT_EQ(g_glCalls, 0) << "first GL call: " << g_firstCall;
    EXPECT_FALSE(platform::IsVideoOpen());

    std::string state = testsupport::ReadFile(o.dumpStateFile);
    EXPECT_NE(state.find("\"frame\": " + std::to_string(frames)), std::string::npos);
    EXPECT_EQ(state.find("\"CrabWalker\""), std::string::npos) << "the crab is gone";

    // Pictures keep their sizes without a texture (sprites cut their frames by them); there is no
    // frame to save.
    ASSERT_TRUE(bkmFont && bkmFont->image);
    const GImage* im = bkmFont->image;
    EXPECT_TRUE(im->loaded);
    EXPECT_EQ(im->data, 0u);
    EXPECT_GT(im->oW, 0);
    EXPECT_GE(im->w, im->oW);
    EXPECT_EQ(im->w & (im->w - 1), 0) << "padded to a power of two";
    EXPECT_TRUE(bkmFont->Usable());
    EXPECT_FALSE(SaveFramePng(dir + "/frame.png", 640, 480));
    EXPECT_TRUE(testsupport::ReadFile(dir + "/frame.png").empty());
    EXPECT_EQ(g_glCalls, 0) << "first GL call: " << g_firstCall;
}
