#pragma once
// The application object: its standard error report catches an exception that escapes an
// event handler, shows its text and lets the program go on. Exceptions never cross Qt's
// event loop unhandled.
#include <QApplication>
#include <QString>

#include <functional>

namespace torvella::ui {

// Shows an error to the player (a message box). Tests install their own to observe
// errors without a modal box; the previous reporter is returned.
using ErrorReporter = std::function<void(QWidget* parent, const QString& text)>;
ErrorReporter SetErrorReporter(ErrorReporter reporter);
void ReportError(QWidget* parent, const QString& text);

class TorvellaApplication : public QApplication {
public:
    TorvellaApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace torvella::ui
