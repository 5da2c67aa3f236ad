#include "ui/Application.h"

#include <QMessageBox>

#include <exception>

namespace torvella::ui {

namespace {
ErrorReporter& CurrentReporter()
{
    static ErrorReporter reporter = [](QWidget* parent, const QString& text) {
        QMessageBox::warning(parent, QStringLiteral("Torvella"), text);
    };
    return reporter;
}
} // namespace

ErrorReporter SetErrorReporter(ErrorReporter reporter)
{
    ErrorReporter old = std::move(CurrentReporter());
    CurrentReporter() = std::move(reporter);
    return old;
}

void ReportError(QWidget* parent, const QString& text)
{
    if (CurrentReporter())
        CurrentReporter()(parent, text);
}

TorvellaApplication::TorvellaApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TorvellaApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ReportError(nullptr, QString::fromUtf8(e.what()));
    } catch (...) {
        ReportError(nullptr, QStringLiteral("Unknown error"));
    }
    return false;
}

} // namespace torvella::ui
