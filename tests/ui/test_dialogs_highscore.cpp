// The high-score list: ranking and insertion, what is stored on confirmation (scrambled,
// under hs0..hs14 and "player"), Cancel, clearing, odd names and hand-edited entries.
#include "test_dialogs_support.h"

#include "common/FreshConfig.h"
#include "common/SmallDisk.h"
#include "settings/Chiffre.h"
#include "settings/IniCtrl.h"
#include "ui/DlgResources.h"
#include "settings/GameSettings.h"
#include "ui/HighscoreDlg.h"
#include "ui/ImageButton.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace torvella::ui {
namespace {

using settings::IniCtrl;
using settings::TChiffre;
using torvella::testing::Child;
using torvella::testing::FlushQueued;
using torvella::testing::WhenModal;

const QString kCommon = QStringLiteral("common");

struct Row {
    int32_t score;
    QString name;
    bool operator==(const Row&) const = default;
};
using List = std::vector<Row>;

void PrintTo(const Row& r, std::ostream* os) { *os << r.score << "," << r.name.toStdString(); }

class HighscoreList : public ::testing::Test {
protected:
    HighscoreList()
    {
        mainWindow.setGeometry(50, 40, 702, 462);
        mainWindow.show();
        dlg.BindPictures(res);
    }

    QString Key(int i) const { return QStringLiteral("hs") + QString::number(i); }

    // Stores the rows as the dialog would, the rest of the fifteen left empty.
    void Seed(const List& rows)
    {
        for (size_t i = 0; i < rows.size(); ++i)
            ini.WriteString(kCommon, Key(int(i)),
                            chiffre.Encrypt(QString::number(rows[i].score) + QLatin1Char(',') + rows[i].name));
    }
    // The fifteen stored rows, unscrambled; an empty value reads as an empty name and 0.
    List Stored()
    {
        List rows;
        for (int i = 0; i < 15; ++i) {
            const QString plain = chiffre.Decrypt(ini.ReadString(kCommon, Key(i), QString()));
            const qsizetype comma = plain.indexOf(QLatin1Char(','));
            rows.push_back(comma < 0 ? Row{0, plain} : Row{plain.left(comma).toInt(), plain.mid(comma + 1)});
        }
        return rows;
    }
    QByteArray StoreBytes() const
    {
        QFile f(QString::fromStdString(cfg.storeFile().string()));
        return f.open(QFile::ReadOnly) ? f.readAll() : QByteArray();
    }
    // What the open dialog shows in its rows; a name cut short is read whole from the
    // row's hint.
    static List Shown(QWidget* w)
    {
        List rows;
        for (int i = 0; i < 15; ++i) {
            const QByteArray pla = "pla" + QByteArray::number(i), sco = "sco" + QByteArray::number(i);
            const QLabel* name = Child<QLabel>(w, pla.constData());
            rows.push_back({Child<QLabel>(w, sco.constData())->text().toInt(),
                            name->toolTip().isEmpty() ? name->text() : name->toolTip()});
        }
        return rows;
    }
    static List Placeholders(size_t from = 0)
    {
        List rows;
        for (size_t i = from; i < 15; ++i)
            rows.push_back({0, QStringLiteral("Mr. Brain")});
        return rows;
    }
    static void Press(QWidget* w, const char* button)
    {
        QTest::mouseClick(Child<ImageButton>(w, button), Qt::LeftButton);
    }
    // Opens the list; `inside` runs while it is open and must close it. Returns whether
    // the dialog opened at all.
    bool Open(int32_t score, bool viewOnly, std::function<void(QWidget*)> inside)
    {
        bool opened = false;
        WhenModal([&](QWidget* w) {
            if (w != &dlg) {
                if (w)
                    w->close();
                return;
            }
            opened = true;
            inside(w);
        });
        dlg.ShowModal(score, viewOnly);
        FlushQueued();
        return opened;
    }

    torvella::testing::FreshConfig cfg;
    IniCtrl ini;
    TChiffre chiffre;
    settings::GameSettings settings;
    QWidget mainWindow;
    DlgResources res;
    HighscoreDlg dlg{ini, chiffre, settings, &mainWindow};
};

List Descending() // 150, 140, ..., 10
{
    List rows;
    for (int i = 0; i < 15; ++i)
        rows.push_back({150 - 10 * i, QStringLiteral("P") + QString::number(i)});
    return rows;
}

TEST_F(HighscoreList, RankingFindsThePlaceOrNone)
{
    List lowTail{{100, QStringLiteral("A")}};
    for (int i = 1; i < 15; ++i)
        lowTail.push_back({-10, QStringLiteral("B")});
    struct Case {
        const char* what;
        List seed;
        int direction;
        int32_t score;
        int insertPos;
    };
    const Case cases[] = {
        {"empty store, 0 earns no place", {}, 0, 0, -1},
        {"empty store, 1 is first", {}, 0, 1, 0},
        {"tie ranks below", Descending(), 0, 110, 5},
        {"tie with the last of a full list", Descending(), 0, 10, -1},
        {"lower than a full list", Descending(), 0, 5, -1},
        {"better than all", Descending(), 0, 151, 0},
        {"negative on an empty store", {}, 0, -5, -1},
        {"negative above lower scores", lowTail, 0, -5, 1},
        {"lower ranks first: empty place", {{3, "a"}, {8, "b"}}, 1, 9, 2},
        {"lower ranks first: greater score", {{3, "a"}, {8, "b"}}, 1, 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(cfg.storeFile());
        Seed(c.seed);
        dlg.SetDirection(c.direction);
        const QByteArray before = StoreBytes();
        int seenPos = -2;
        bool editShown = false;
        QRect editAt;
        const bool opened = Open(c.score, false, [&](QWidget* w) {
            seenPos = dlg.InsertPos();
            auto* edit = Child<QLineEdit>(w, "Edit1");
            editShown = edit->isVisible();
            editAt = edit->geometry();
            EXPECT_TRUE(Child<ImageButton>(w, "CancelBtn")->isVisible());
            Press(w, "CancelBtn");
        });
        EXPECT_EQ(opened, c.insertPos >= 0);
        if (opened) {
            EXPECT_EQ(seenPos, c.insertPos);
            EXPECT_TRUE(editShown);
            EXPECT_EQ(editAt, QRect(50, 21 * c.insertPos + 10, 140, 17));
        }
        // Neither an unplaced score nor Cancel writes anything.
        EXPECT_EQ(StoreBytes(), before);
    }
}

TEST_F(HighscoreList, FirstScoreOnAnEmptyStoreIsStoredWithTheDefaultName)
{
    EXPECT_EQ(dlg.LastName(), QStringLiteral("Mr.Brain"));
    EXPECT_TRUE(Open(1, false, [&](QWidget* w) {
        EXPECT_EQ(Child<QLineEdit>(w, "Edit1")->text(), QStringLiteral("Mr.Brain"));
        EXPECT_EQ(w->focusWidget(), Child<QLineEdit>(w, "Edit1"));
        Press(w, "OkBtn");
    }));
    List expected{{1, QStringLiteral("Mr.Brain")}};
    for (const Row& r : Placeholders(1))
        expected.push_back(r);
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("player"), QString()), QStringLiteral("Mr.Brain"));
}

TEST_F(HighscoreList, InsertedRowPushesTheFifteenthOff)
{
    Seed(Descending());
    EXPECT_TRUE(Open(110, false, [&](QWidget* w) {
        QLineEdit* edit = Child<QLineEdit>(w, "Edit1");
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("Newcomer"));
        Press(w, "OkBtn");
    }));
    List expected = Descending();
    expected.insert(expected.begin() + 5, Row{110, QStringLiteral("Newcomer")});
    expected.pop_back();
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(dlg.LastName(), QStringLiteral("Newcomer"));
    EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("player"), QString()), QStringLiteral("Newcomer"));

    // The next entry offers the name typed last.
    EXPECT_TRUE(Open(200, false, [&](QWidget* w) {
        EXPECT_EQ(Child<QLineEdit>(w, "Edit1")->text(), QStringLiteral("Newcomer"));
        Press(w, "CancelBtn");
    }));
}

TEST_F(HighscoreList, CancelledRowIsNotShownAgain)
{
    Seed(Descending());
    EXPECT_TRUE(Open(500, false, [&](QWidget* w) { Press(w, "CancelBtn"); }));
    // Escape cancels as well.
    EXPECT_TRUE(Open(500, false, [&](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }));
    List shown;
    EXPECT_TRUE(Open(500, true, [&](QWidget* w) {
        EXPECT_FALSE(Child<ImageButton>(w, "CancelBtn")->isVisible());
        EXPECT_FALSE(Child<QLineEdit>(w, "Edit1")->isVisible());
        shown = Shown(w);
        w->close();
    }));
    EXPECT_EQ(shown, Descending());
}

TEST_F(HighscoreList, ClearingStoresFifteenPlaceholders)
{
    for (bool viewOnly : {true, false}) {
        SCOPED_TRACE(viewOnly ? "view only" : "entering a score");
        Seed(Descending());
        List shown;
        EXPECT_TRUE(Open(777, viewOnly, [&](QWidget* w) {
            Child<QCheckBox>(w, "ClearBox")->setChecked(true);
            Press(w, "OkBtn");
            shown = Shown(w);
        }));
        EXPECT_EQ(shown, Placeholders());
        EXPECT_EQ(Stored(), Placeholders());
        EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("player"), QString()), QStringLiteral("Mr. Brain"));
        EXPECT_EQ(dlg.LastName(), QStringLiteral("Mr. Brain"));
    }
}

TEST_F(HighscoreList, ViewOnlyConfirmationWritesTheListUnchanged)
{
    Seed({{42, QStringLiteral("Ann")}});
    EXPECT_TRUE(Open(1000, true, [&](QWidget* w) {
        EXPECT_EQ(Shown(w).front(), (Row{42, QStringLiteral("Ann")}));
        Press(w, "OkBtn");
    }));
    List expected{{42, QStringLiteral("Ann")}};
    for (const Row& r : Placeholders(1))
        expected.push_back(r);
    EXPECT_EQ(Stored(), expected); // empty places are now written out as placeholders
    EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("player"), QString()), QStringLiteral("Mr.Brain"));
}

TEST_F(HighscoreList, NamesSurviveStoreAndReloadAsTyped)
{
    struct Case {
        QString typed;
        QString stored;
    };
    const Case cases[] = {
        {QStringLiteral("Smith, Jr., the 2nd"), QStringLiteral("Smith, Jr., the 2nd")},
        {QStringLiteral("<b>Jörg</b> & Ærøskøbing"), QStringLiteral("<b>Jörg</b> & Ærøskøbing")},
        {QString(), QString()},
        {QStringLiteral("abcdefghijklmnopqrstuvwxyz0123"), QStringLiteral("abcdefghijklmnopqrstuvwxy")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        std::filesystem::remove(cfg.storeFile());
        EXPECT_TRUE(Open(7, false, [&](QWidget* w) {
            QLineEdit* edit = Child<QLineEdit>(w, "Edit1");
            edit->clear();
            // Typed one character at a time, letters beyond ASCII included.
            for (QChar ch : c.typed)
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            Press(w, "OkBtn");
        }));
        EXPECT_EQ(Stored().front(), (Row{7, c.stored}));
        List shown;
        EXPECT_TRUE(Open(0, true, [&](QWidget* w) {
            shown = Shown(w);
            w->close();
        }));
        EXPECT_EQ(shown.front(), (Row{7, c.stored}));
    }
}

TEST_F(HighscoreList, NameTooLongForItsColumnEndsInAnEllipsisAndIsWholeInTheRowsHint)
{
    const QString longName = QStringLiteral("Wilhelmine Wolkenschieber");  // 25 characters
    const QString shortName = QStringLiteral("Ann");
    Seed({{90, longName}, {80, shortName}});
    EXPECT_TRUE(Open(0, true, [&](QWidget* w) {
        const QLabel* cut = Child<QLabel>(w, "pla0");
        EXPECT_TRUE(cut->text().endsWith(QChar(0x2026))) << cut->text().toStdString();
        EXPECT_TRUE(longName.startsWith(cut->text().chopped(1)));
        EXPECT_LE(cut->fontMetrics().horizontalAdvance(cut->text()), cut->width());
        for (const char* label : {"num0", "pla0", "sco0"})
            EXPECT_EQ(Child<QLabel>(w, label)->toolTip(), longName) << label;
        EXPECT_EQ(cut->accessibleName(), longName);
        // A name that fits stands as it is, without a hint.
        EXPECT_EQ(Child<QLabel>(w, "pla1")->text(), shortName);
        EXPECT_TRUE(Child<QLabel>(w, "pla1")->toolTip().isEmpty());
        w->close();
    }));
}

TEST_F(HighscoreList, StoredEntryKeepsCommaFullStopAndBlankInPlace)
{
    EXPECT_TRUE(Open(12, false, [&](QWidget* w) {
        Child<QLineEdit>(w, "Edit1")->setText(QStringLiteral("Mr. Brain"));
        Press(w, "OkBtn");
    }));
    const QString raw = ini.ReadString(kCommon, QStringLiteral("hs0"), QString());
    EXPECT_EQ(raw.size(), 12);
    EXPECT_EQ(raw.at(2), QLatin1Char(','));
    EXPECT_EQ(raw.at(5), QLatin1Char('.'));
    EXPECT_EQ(raw.at(6), QLatin1Char(' '));
    EXPECT_NE(raw, QStringLiteral("12,Mr. Brain"));
    EXPECT_EQ(chiffre.Decrypt(raw), QStringLiteral("12,Mr. Brain"));
}

TEST_F(HighscoreList, HandEditedEntriesReadAsEmptyPlaces)
{
    Seed(Descending());
    ini.WriteString(kCommon, Key(2), chiffre.Encrypt(QStringLiteral("lots,Eve")));
    ini.WriteString(kCommon, Key(4), chiffre.Encrypt(QStringLiteral("no comma at all")));
    ini.WriteString(kCommon, Key(6), chiffre.Encrypt(QStringLiteral("99999999999,Big")));
    List shown;
    EXPECT_TRUE(Open(0, true, [&](QWidget* w) {
        shown = Shown(w);
        w->close();
    }));
    List expected = Descending();
    for (int i : {2, 4, 6})
        expected[i] = {0, QStringLiteral("Mr. Brain")};
    EXPECT_EQ(shown, expected);
}

TEST_F(HighscoreList, EntryThatIsNoTextIsReportedAndTheListStillLoads)
{
    Seed(Descending());
    // A value QSettings would store with a type: no text for the list.
    {
        QFile f(QString::fromStdString(cfg.storeFile().string()));
        ASSERT_TRUE(f.open(QFile::Append));
        f.write("hs3=@Rect(1 2 3 4)\n");
    }
    QStringList reported;
    ini.SetProblemHandler([&](const QString&, const QList<settings::IniProblem>& problems) {
        for (const settings::IniProblem& p : problems)
            reported << p.text;
    });
    List shown;
    for (int opening = 0; opening < 2; ++opening) {
        EXPECT_TRUE(Open(0, true, [&](QWidget* w) {
            shown = Shown(w);
            if (opening == 1) {
                Child<QCheckBox>(w, "ClearBox")->setChecked(true);
                Press(w, "OkBtn");
            } else {
                w->close();
            }
        }));
    }
    EXPECT_EQ(reported, QStringList{QStringLiteral("hs3")}) << "told once, though the list was read twice";
    List expected = Descending();
    expected[3] = {0, QStringLiteral("Mr. Brain")};
    EXPECT_EQ(shown, expected);
    // Clearing mends the store.
    EXPECT_EQ(Stored(), Placeholders());
}

TEST_F(HighscoreList, HandEditedPlayerNameWithACommaIsTheNameOffered)
{
    std::filesystem::create_directories(cfg.storeFile().parent_path());
    {
        QFile f(QString::fromStdString(cfg.storeFile().string()));
        ASSERT_TRUE(f.open(QFile::WriteOnly));
        f.write("[common]\nplayer=Smith, John\n");
    }
    settings.Load(ini); // as the game does at start-up, before the dialog is made
    HighscoreDlg fresh{ini, chiffre, settings, &mainWindow};
    EXPECT_EQ(fresh.LastName(), QStringLiteral("Smith, John"));
}

TEST_F(HighscoreList, ConfirmationOnAFillingDiskStoresTheWholeListOrNothing)
{
    torvella::testing::SmallDisk disk(cfg.dir() / "Quorlix", 8);
    if (!disk.Available())
        GTEST_SKIP() << disk.WhyNot();
    // A list and a name whose new forms only fit together with the old file when
    // written one at a time: the name (same length) and the first entries still fit
    // on the disk, a longer entry further down no longer does.
    List rows = Descending();
    rows[0].name = QStringLiteral("Bartholomew Fitzgerald");
    Seed(rows);
    ini.WriteString(kCommon, QStringLiteral("player"), QStringLiteral("Bartholomew Fitzgerald"));
    const qsizetype size = StoreBytes().size();
    ASSERT_LT(size, 4096);
    ini.WriteString(kCommon, QStringLiteral("pad"), QString(4093 - size - 5, u'p')); // "pad=...\n": 4093 bytes in all
    const QByteArray before = StoreBytes();
    ASSERT_GT(before.size(), 4096 - 8);
    ASSERT_LE(before.size(), 4096);
    disk.Leave(2); // one page for the lock file, one for a new store of one page

    QString reported;
    EXPECT_TRUE(Open(200, false, [&](QWidget* w) {
        Child<QLineEdit>(w, "Edit1")->setText(QStringLiteral("Alexandra Livingstone!"));
        WhenModal([&](QWidget* box) {
            if (auto* msg = qobject_cast<QMessageBox*>(box)) {
                reported = msg->text();
                msg->close();
            }
        });
        Press(w, "OkBtn");
        Press(w, "CancelBtn");
    }));
    EXPECT_TRUE(reported.contains(QStringLiteral("could not be saved"))) << reported.toStdString();
    EXPECT_EQ(StoreBytes(), before) << "neither the name nor any entry was stored";

    disk.Free();
    EXPECT_TRUE(Open(200, false, [&](QWidget* w) {
        Child<QLineEdit>(w, "Edit1")->setText(QStringLiteral("Alexandra Livingstone!"));
        Press(w, "OkBtn");
    }));
    List expected = rows;
    expected.insert(expected.begin(), Row{200, QStringLiteral("Alexandra Livingstone!")});
    expected.pop_back();
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("player"), QString()), QStringLiteral("Alexandra Livingstone!"));
}

TEST_F(HighscoreList, FailedStoreIsReportedAndTheDialogStaysUsable)
{
    // A folder where the store file should be makes every write fail.
    std::filesystem::create_directories(cfg.storeFile());
    QString reported;
    bool stillOpen = false;
    bool opened = Open(30, false, [&](QWidget* w) {
        WhenModal([&](QWidget* box) {
            if (auto* msg = qobject_cast<QMessageBox*>(box)) {
                reported = msg->text();
                msg->close();
            }
        });
        Press(w, "OkBtn"); // returns when the message box is closed
        stillOpen = w->isVisible();
        std::filesystem::remove(cfg.storeFile());
        Press(w, "OkBtn");
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(reported.contains(QStringLiteral("could not be saved"))) << reported.toStdString();
    EXPECT_EQ(Stored().front(), (Row{30, QStringLiteral("Mr.Brain")}));
}

TEST_F(HighscoreList, TextsAndPlacement)
{
    for (int tongue : {1, 0, -1}) {
        settings.Tongue = tongue;
        QString title, del;
        QPoint pos;
        Open(0, true, [&](QWidget* w) {
            title = Child<QLabel>(w, "title")->text();
            del = Child<QLabel>(w, "delcheck")->text();
            pos = w->pos();
            w->close();
        });
        EXPECT_EQ(title, tongue == 1 ? QStringLiteral("Torvella - Bestenliste") : QStringLiteral("Torvella - Highscore"));
        EXPECT_EQ(del, tongue == 1 ? QStringLiteral("alle Einträge löschen") : QStringLiteral("remove all entries"));
        const QRect outer = mainWindow.frameGeometry();
        EXPECT_EQ(pos, QPoint(outer.left() + (outer.width() - 320) / 2, outer.top() + (outer.height() - 476) / 2 - 2));
    }
    EXPECT_EQ(Child<QLabel>(&dlg, "num0")->text(), QStringLiteral("1.   "));
    EXPECT_EQ(Child<QLabel>(&dlg, "num14")->text(), QStringLiteral("15.   "));
    EXPECT_EQ(Child<QLabel>(&dlg, "sco14")->geometry(), QRect(190, 21 * 14 + 10, 90, 21));
}

} // namespace
} // namespace torvella::ui
