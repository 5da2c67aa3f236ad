#include "tools/cli/Render.h"

#include "assets/Pictures.h"
#include "core/Deal.h"
#include "core/Geometry.h"
#include "tools/cli/Args.h"
#include "paint/BoardPainter.h"
#include "paint/ToolBarPainter.h"

#include <QImage>
#include <QImageWriter>
#include <QString>

#include <charconv>
#include <cstdio>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace torvella::cli {

namespace {

constexpr const char* kUsage = "usage: torvella-cli render [--size WxH] [--backmode N] [--scale S] STATE OUT.png";
constexpr double kLargestScale = 4;

// A device pixel ratio: a plain decimal number from 1 to 4 ("2", "1.5", "1.25").
double ParseScale(const std::string& text)
{
    double scale = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), scale);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !(scale >= 1) ||
        scale > kLargestScale)
        throw UsageError("--scale must be a device pixel ratio from 1 to 4: '" + text + "'");
    return scale;
}

QSize ParseSize(const std::string& text)
{
    const auto [w, h] = ParseBoardSize(text);
    // QImage refuses pictures beyond 2^31 bytes; say so before a null image surprises anyone.
    if (static_cast<int64_t>(w) * h > (int64_t{1} << 28))
        throw UsageError("board area " + text + " is too large to render");
    return QSize(w, h);
}

// The ratio as typed back: "2", "1.5", "1.25".
std::string ScaleText(double scale)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", scale);
    return buf;
}

} // namespace

int RenderCommand(const std::vector<std::string>& args, std::FILE* out)
{
    QSize size(702, 405);
    int32_t backMode = 0;
    double scale = 1;
    bool scaled = false;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--size" || a == "--backmode" || a == "--scale") {
            if (i + 1 >= args.size())
                throw UsageError(a + " needs a value; " + kUsage);
            const std::string& v = args[++i];
            if (a == "--size") {
                size = ParseSize(v);
            } else if (a == "--scale") {
                scale = ParseScale(v);
                scaled = true;
            } else if (!ParseNumber(std::string_view(v), backMode) || backMode < 0 || backMode > 6) {
                throw UsageError("--backmode must be a background number from 0 to 6: '" + v + "'");
            }
        } else if (a.size() > 1 && a.front() == '-') {
            throw UsageError("unknown option '" + a + "'; " + std::string(kUsage));
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2)
        throw UsageError(kUsage);

    const uint32_t state = ParseState(positional[0]);
    const std::string& path = positional[1];
    if (path.empty())
        throw UsageError("OUT.png must not be empty");

    Tableau t;
    Random rng(state);
    DealTableau(t, rng);

    // The same limit as for --size, on the pixels actually drawn.
    if (static_cast<double>(size.width()) * size.height() * scale * scale > static_cast<double>(int64_t{1} << 28))
        throw UsageError("board area " + std::to_string(size.width()) + "x" + std::to_string(size.height()) +
                         " at scale " + ScaleText(scale) + " is too large to render");
    const QImage sheet = paint::LoadToolBarImages(scale).sheet;
    const Geometry g = CalcLayout(size.width(), size.height());
    QImage boardBack, board;
    paint::BuildBoardBack(boardBack, size, sheet, backMode);
    paint::RenderBoard(board, size, boardBack, sheet, backMode, g, t);

    QImageWriter writer(QString::fromStdString(path), "png");
    if (!writer.write(board))
        throw std::runtime_error("cannot write the PNG file '" + path + "': " + writer.errorString().toStdString());

    const std::string line = "{\"png\":" + JsonQuoted(path) + ",\"seed\":" + std::to_string(state) +
                             ",\"width\":" + std::to_string(size.width()) + ",\"height\":" +
                             std::to_string(size.height()) + ",\"backmode\":" + std::to_string(backMode) +
                             (scaled ? ",\"scale\":" + ScaleText(scale) : std::string()) + "}\n";
    std::fputs(line.c_str(), out);
    return 0;
}

} // namespace torvella::cli
