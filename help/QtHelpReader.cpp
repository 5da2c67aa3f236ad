// The help module: a compressed help file read through Qt Help, behind the HelpReader
// interface, built as "libtorvella-help.so" and loaded by HelpReaderLoader.
#include "help/HelpReader.h"

#include <QFile>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QHelpLink>

namespace torvella::help {

namespace {

class QtHelpReader final : public HelpReader {
public:
    bool Open(const QString& helpFile, const QString& collectionPath, QString& problem) override
    {
        engine_.reset();
        QFile::remove(collectionPath);
        auto engine = std::make_unique<QHelpEngineCore>(collectionPath);
        engine->setReadOnly(false);
        if (!engine->setupData() || !engine->registerDocumentation(QFileInfo(helpFile).absoluteFilePath())) {
            problem = engine->error();
            return false;
        }
        engine_ = std::move(engine);
        return true;
    }

    QUrl TopicUrl(int topic) const override
    {
        if (!engine_)
            return {};
        const QList<QHelpLink> links = engine_->documentsForIdentifier(QString::number(topic));
        return links.isEmpty() ? QUrl() : links.first().url;
    }

    QByteArray FileData(const QUrl& url) const override { return engine_ ? engine_->fileData(url) : QByteArray(); }

private:
    std::unique_ptr<QHelpEngineCore> engine_;
};

} // namespace

} // namespace torvella::help

extern "C" __attribute__((visibility("default"))) torvella::help::HelpReader* torvella_create_help_reader()
{
    return new torvella::help::QtHelpReader;
}
