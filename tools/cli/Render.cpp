#include "tools/cli/Render.h"

#include "assets/Pictures.h"
#include "core/Deal.h"
#include "core/Geometry.h"
#include "tools/cli/Commands.h"
#include "ui/BoardPainter.h"

#include <QImage>
#include <QImageWriter>
#include <QString>

#include <charconv>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace torvella::cli {

namespace {

constexpr const char* kUsage = "usage: torvella-cli render [--size WxH] [--backmode N] STATE OUT.png";

template <typename T>
bool ParseDecimal(std::string_view text, T& value)
{
    if (text.empty() || text.front() == '+')
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

QSize ParseSize(const std::string& text)
{
    const auto x = text.find('x');
    int32_t w = 0, h = 0;
    if (x == std::string::npos || !ParseDecimal(std::string_view(text).substr(0, x), w) ||
        !ParseDecimal(std::string_view(text).substr(x + 1), h) || w <= 0 || h <= 0)
        throw UsageError("--size must be WxH with positive integers: '" + text + "'");
    if (CalcLayout(w, h).CellSize <= 0)
        throw UsageError("board area " + text + " is too small for a tableau");
    // QImage refuses pictures beyond 2^31 bytes; say so before a null image surprises anyone.
    if (static_cast<int64_t>(w) * h > (int64_t{1} << 28))
        throw UsageError("board area " + text + " is too large to render");
    return QSize(w, h);
}

std::string Quoted(const std::string& text)
{
    std::string s = "\"";
    for (unsigned char ch : text) {
        if (ch == '"' || ch == '\\') {
            s += '\\';
            s += static_cast<char>(ch);
        } else if (ch < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", ch);
            s += buf;
        } else {
            s += static_cast<char>(ch);
        }
    }
    return s + '"';
}

} // namespace

int RenderCommand(const std::vector<std::string>& args, std::FILE* out)
{
    QSize size(702, 405);
    int32_t backMode = 0;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--size" || a == "--backmode") {
            if (i + 1 >= args.size())
                throw UsageError(a + " needs a value; " + kUsage);
            const std::string& v = args[++i];
            if (a == "--size") {
                size = ParseSize(v);
            } else if (!ParseDecimal(std::string_view(v), backMode) || backMode < 0 || backMode > 6) {
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

    uint32_t state = 0;
    if (!ParseDecimal(std::string_view(positional[0]), state) || positional[0].front() == '-')
        throw UsageError("STATE must be an unsigned 32-bit decimal number: '" + positional[0] + "'");
    const std::string& path = positional[1];
    if (path.empty())
        throw UsageError("OUT.png must not be empty");

    Tableau t;
    Random rng(state);
    DealTableau(t, rng);

    const QImage sheet = assets::Bmps(assets::BmpsSheet).convertToFormat(QImage::Format_RGB32);
    if (sheet.isNull())
        throw std::runtime_error("the background sheet picture is missing");
    const Geometry g = CalcLayout(size.width(), size.height());
    QImage boardBack, board;
    ui::BuildBoardBack(boardBack, size, sheet, backMode);
    ui::RenderBoard(board, size, boardBack, sheet, backMode, g, t);

    QImageWriter writer(QString::fromStdString(path), "png");
    if (!writer.write(board))
        throw std::runtime_error("cannot write the PNG file '" + path + "': " + writer.errorString().toStdString());

    const std::string line = "{\"png\":" + Quoted(path) + ",\"seed\":" + std::to_string(state) +
                             ",\"width\":" + std::to_string(size.width()) + ",\"height\":" +
                             std::to_string(size.height()) + ",\"backmode\":" + std::to_string(backMode) + "}\n";
    std::fputs(line.c_str(), out);
    return 0;
}

} // namespace torvella::cli
