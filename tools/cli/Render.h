#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace torvella::cli {

// torvella-cli render [--size WxH] [--backmode N] [--scale S] STATE OUT.png
// Deals the tableau of generator state STATE and writes the board area's picture, drawn
// by the window's own painting code, as a PNG (default 702 x 405, background 0). With
// --scale the picture is drawn as for a screen of device pixel ratio S (1 to 4, e.g. 1.5
// or 2): the same logical size, S times as many pixels each way. Prints one JSON line
// describing what it wrote. Bad arguments throw UsageError; a file that
// cannot be written throws std::runtime_error.
int RenderCommand(const std::vector<std::string>& args, std::FILE* out);

} // namespace torvella::cli
