// torvella-cli render: argument handling, failures, and that the PNG is the window's picture.
#include "assets/Pictures.h"
#include "core/Deal.h"
#include "core/Geometry.h"
#include "tools/cli/Commands.h"
#include "tools/cli/Render.h"
#include "paint/BoardPainter.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>

namespace torvella {
namespace {

class RenderCommand : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::FILE* out = std::tmpfile();
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
    void TearDown() override { std::fclose(out); }
    std::string Output()
    {
        std::rewind(out);
        char buf[512] = {};
        const size_t n = std::fread(buf, 1, sizeof buf - 1, out);
        return std::string(buf, n);
    }
};

TEST_F(RenderCommand, RefusesBadArguments)
{
    const std::string png = Path("x.png");
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"5"},
        {"5", png, "extra"},
        {"--size", "10x300", "5", png},      // CellSize would be 0
        {"--size", "702", "5", png},
        {"--size", "702x", "5", png},
        {"--size", "-702x405", "5", png},
        {"--size", "702x405x1", "5", png},
        {"--size"},
        {"--backmode", "7", "5", png},
        {"--backmode", "-1", "5", png},
        {"--backmode", "two", "5", png},
        {"--colour", "red", "5", png},
        {"-5", png},
        {"4294967296", png},
        {"12a", png},
        {"5", ""},
    };
    for (const auto& args : bad) {
        std::string joined;
        for (const auto& a : args)
            joined += "[" + a + "]";
        EXPECT_THROW(cli::RenderCommand(args, out), cli::UsageError) << joined;
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(png)));
}

TEST_F(RenderCommand, WritesTheWindowsPictureOfTheDeal)
{
    const QImage sheet = assets::Bmps(assets::BmpsSheet).convertToFormat(QImage::Format_RGB32);
    if (sheet.isNull())
        GTEST_SKIP() << "the background sheet has not landed in the assets yet";

    const std::string png = Path("deal.png");
    ASSERT_EQ(cli::RenderCommand({"--backmode", "3", "--size", "900x500", "4711", png}, out), 0);
    EXPECT_EQ(Output(), "{\"png\":\"" + png + "\",\"seed\":4711,\"width\":900,\"height\":500,\"backmode\":3}\n");

    Tableau t;
    Random rng(4711);
    DealTableau(t, rng);
    QImage back, board;
    paint::BuildBoardBack(back, QSize(900, 500), sheet, 3);
    paint::RenderBoard(board, QSize(900, 500), back, sheet, 3, CalcLayout(900, 500), t);

    const QImage written(QString::fromStdString(png));
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), board);

    ASSERT_EQ(cli::RenderCommand({"1", Path("default.png")}, out), 0);
    EXPECT_EQ(QImage(dir.filePath("default.png")).size(), QSize(702, 405));
}

TEST_F(RenderCommand, UnwritableFileIsAnErrorNotAUsageError)
{
    if (assets::Bmps(assets::BmpsSheet).isNull())
        GTEST_SKIP() << "the background sheet has not landed in the assets yet";
    const std::string png = Path("no-such-folder/deal.png");
    try {
        cli::RenderCommand({"5", png}, out);
        FAIL() << "no error for " << png;
    } catch (const cli::UsageError& e) {
        FAIL() << "reported as a usage error: " << e.what();
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("deal.png"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Output(), "");
}

} // namespace
} // namespace torvella
