#include "tools/cli/Extensions.h"

#include "settings/Chiffre.h"
#include "tools/cli/Commands.h"
#include "tools/cli/Render.h"

#include <QString>

namespace torvella::cli {

namespace {

int Scramble(const std::string& cmd, const std::vector<std::string>& args, std::FILE* out)
{
    if (args.size() != 1)
        throw UsageError("usage: torvella-cli " + cmd + " TEXT");
    settings::TChiffre scrambler;
    scrambler.Init(QString(), 0);  // the default alphabet and key, as the high-score list uses
    const QString text = QString::fromUtf8(args[0].data(), static_cast<qsizetype>(args[0].size()));
    const QByteArray result = (cmd == "encrypt" ? scrambler.Encrypt(text) : scrambler.Decrypt(text)).toUtf8();
    std::fwrite(result.constData(), 1, static_cast<size_t>(result.size()), out);
    std::fputc('\n', out);
    return 0;
}

} // namespace

bool RunExtension(const std::string& cmd, const std::vector<std::string>& args, std::FILE* out, int& status)
{
    if (cmd == "encrypt" || cmd == "decrypt") {
        status = Scramble(cmd, args, out);
        return true;
    }
    if (cmd == "render") {
        status = RenderCommand(args, out);
        return true;
    }
    return false;
}

} // namespace torvella::cli
