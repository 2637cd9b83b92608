// The game always draws a 640 x 480 picture into the lower-left corner of the frame buffer; on a
// bigger window or screen it is then blown up by a whole factor with square pixels, centred, with
// black bars around it.
#pragma once

namespace platform {

struct Letterbox {
    int factor;
    int x, y;  // lower-left corner of the picture in the window, OpenGL window coordinates
};

// The largest whole factor (at least 1) at which gameW x gameH fits into windowW x windowH, centred.
Letterbox FitPicture(int gameW, int gameH, int windowW, int windowH);

// Blows the finished game picture up into the whole window. Leaves the GL state as it found it.
// Does nothing at factor 1 with no offset.
void UpscaleFrame(int gameW, int gameH, int windowW, int windowH);

// Forgets the GL objects it keeps (after the context was replaced).
void ResetUpscaler();

}  // namespace platform
