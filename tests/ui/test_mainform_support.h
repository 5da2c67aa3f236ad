#pragma once
// Driving the real windows from a test: answers for the modal dialogs, an error recorder,
// mouse drags between cells and prepared tableaux. Shared by the main window tests and
// the end-to-end tests.
#include "audio/AudioDevice.h"
#include "audio/SoundEffects.h"
#include "common/GameProbe.h"
#include "core/Game.h"
#include "ui/Application.h"
#include "ui/ImageButton.h"
#include "ui/MainForm.h"
#include "ui/Windows.h"
#include "ui/YesNoDlg.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <SDL2/SDL_mixer.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace torvella::testing {

// What a test saw of one modal dialog.
struct SeenDialog {
    QString name;      // object name, or the class name when it has none
    int kind = 0;      // message kind of the message dialog
    QString text;      // its text
    bool noButton = false;
};

// Answers modal dialogs in the order the test expects them. A timer looks at the active
// modal window every few milliseconds (it only fires while some event loop runs, which is
// what a modal dialog does); the next expected step runs once on it. A dialog nobody
// expected is noted and closed with reject(), so a test fails instead of hanging.
class DialogScript : public QObject {
public:
    using Action = std::function<void(QWidget*)>;

    DialogScript()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start();
    }

    void Expect(const char* objectName, Action action) { steps_.push_back({QString::fromLatin1(objectName), std::move(action)}); }

    const std::vector<SeenDialog>& Seen() const { return seen_; }
    const QStringList& Unexpected() const { return unexpected_; }
    int Pending() const { return int(steps_.size() - next_); }

    static QString NameOf(const QWidget* w)
    {
        return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    }

private:
    struct Step {
        QString name;
        Action action;
    };

    void Poll()
    {
        QWidget* dlg = QApplication::activeModalWidget();
        if (!dlg || !dlg->isVisible() || dlg == handled_)
            return;
        handled_ = dlg;
        SeenDialog seen;
        seen.name = NameOf(dlg);
        if (auto* yesNo = qobject_cast<ui::YesNoDlg*>(dlg)) {
            seen.kind = yesNo->MessageKind();
            if (auto* txt = dlg->findChild<QLabel*>(QStringLiteral("txt")))
                seen.text = txt->text();
            if (auto* no = dlg->findChild<QWidget*>(QStringLiteral("NoBtn")))
                seen.noButton = no->isVisible();
        }
        seen_.push_back(seen);
        if (next_ < steps_.size() && steps_[next_].name == seen.name) {
            Action action = steps_[next_++].action;
            action(dlg);
        } else {
            unexpected_ << seen.name;
            if (auto* d = qobject_cast<QDialog*>(dlg))
                d->reject();
            else
                dlg->close();
        }
        // The same dialog may be shown again later: forget it once it is gone.
        if (!dlg->isVisible())
            handled_ = nullptr;
    }

    QTimer timer_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    std::vector<SeenDialog> seen_;
    QStringList unexpected_;
    QPointer<QWidget> handled_;
};

// Actions for DialogScript::Expect.
inline DialogScript::Action Click(const char* buttonName)
{
    return [name = QString::fromLatin1(buttonName)](QWidget* dlg) {
        auto* button = dlg->findChild<QAbstractButton*>(name);
        if (button && button->isVisible())
            QTest::mouseClick(button, Qt::LeftButton);
        else
            qobject_cast<QDialog*>(dlg)->reject();  // the test then sees the wrong outcome
    };
}

inline DialogScript::Action Key(Qt::Key key)
{
    return [key](QWidget* dlg) { QTest::keyClick(dlg, key); };
}

// Types a name over the entry row of the high-score list and confirms it.
inline DialogScript::Action EnterName(const QString& name)
{
    return [name](QWidget* dlg) {
        auto* edit = dlg->findChild<QWidget*>(QStringLiteral("Edit1"));
        if (!edit || !edit->isVisible()) {
            qobject_cast<QDialog*>(dlg)->reject();
            return;
        }
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, name);
        QTest::mouseClick(dlg->findChild<QAbstractButton*>(QStringLiteral("OkBtn")), Qt::LeftButton);
    };
}

// Every error the program reports, instead of a message box.
class ErrorRecorder {
public:
    ErrorRecorder()
    {
        old_ = ui::SetErrorReporter([this](QWidget*, const QString& text) { errors << text; });
    }
    ~ErrorRecorder() { ui::SetErrorReporter(std::move(old_)); }
    QStringList errors;

private:
    ui::ErrorReporter old_;
};

// All windows as the program creates them, shown. The first show asks for the language
// on a zero timer; that question (when expected) is answered before this returns.
class ProgramWindows {
public:
    // help: the help runtime the main window hands its help requests to, if any.
    explicit ProgramWindows(help::HelpRuntime* help = nullptr)
    {
        w.Create(help);
        w.mainform->show();
        (void)QTest::qWaitForWindowExposed(w.mainform.get());
        QTest::qWait(20);
    }
    ui::MainForm& Main() { return *w.mainform; }
    ui::Windows w;
};

struct Cake {
    int col, row, colour, slices;
};

// A tableau with only the given cakes; plates and hold places per colour 1..4 (index 0
// unused). Phase Dealt, score 0; the window composes the board anew.
inline void Prepare(ui::MainForm& m, std::initializer_list<Cake> cakes, std::array<int, 5> plates = {},
                    std::array<int, 5> holds = {}, int jumps = kStartJumps)
{
    Tableau t;
    t.CellColour.fill(kEmpty);
    t.CellSlices.fill(0);
    for (const Cake& c : cakes) {
        t.Colour(c.col, c.row) = c.colour;
        t.Slices(c.col, c.row) = c.slices;
    }
    for (int c = 1; c <= kColours; ++c) {
        t.PlateSlices[c] = plates[c];
        t.HoldSlices[c] = holds[c];
    }
    t.JumpsLeft = jumps;
    t.Score = 0;
    GameProbe::LayOut(m.GameState(), t);
    m.BoardRenewed();
    m.JumpsChanged(t.JumpsLeft);
    m.ScoreChanged(t.Score);
}

inline QPoint CellPoint(ui::MainForm& m, int col, int row)
{
    const Point p = m.GameState().Layout().CellCentre(col, row);
    return {p.x, p.y};
}

// Presses on one cell, moves across and releases over another, as a player drags.
inline void Drag(ui::MainForm& m, int fromCol, int fromRow, int toCol, int toRow)
{
    QWidget* box = m.Box();
    const QPoint a = CellPoint(m, fromCol, fromRow);
    const QPoint b = CellPoint(m, toCol, toRow);
    QTest::mousePress(box, Qt::LeftButton, {}, a);
    QTest::mouseMove(box, (a + b) / 2);
    QTest::mouseMove(box, b);
    QTest::mouseRelease(box, Qt::LeftButton, {}, b);
}

// The sound number last played on the effects channel, 0 when none is known.
inline int LastSound(ui::MainForm& m)
{
    const Mix_Chunk* chunk = Mix_GetChunk(audio::AudioDevice::kEffectsChannel);
    for (int n = 1; n <= audio::SoundEffects::kSounds; ++n)
        if (chunk && m.Waves()->Chunk(n) == chunk)
            return n;
    return 0;
}

// A colour of the colour tables (0x00BBGGRR) as a pixel of a grabbed picture.
inline QRgb Bgr(uint32_t bgr) { return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

// A list of dialog names or errors in one line, for a test's failure message.
inline std::string Join(const QStringList& list) { return list.join(QStringLiteral(" | ")).toStdString(); }

inline QImage Grab(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace torvella::testing
