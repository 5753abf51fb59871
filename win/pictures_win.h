// The program's pictures, held as resources of the executable.
#pragma once

#include <windows.h>

#include <string>

#include "ui/window_description.h"

// An icon picture at its own size; nullptr for pictures that are no icons.
HICON LoadIconPicture(HINSTANCE instance, Picture picture);
// The complete file bytes of a picture kept as raw data.
std::string PictureBytes(HINSTANCE instance, Picture picture);
