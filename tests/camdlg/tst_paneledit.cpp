// The editing dialogs as the calculation panel opens them: batches added through "Add Camera"
// with the panel naming and limiting them, the add dialog kept and following the video
// standard, and the modify dialog opened by double click or "Modify" for the current row, with
// its results - the edited camera or the whole list after a copy plan - reaching list and table;
// after every kind of editing step, and its undo and redo, each row shows exactly its record.
#include "calc/calculatewidget.h"
#include "camdlg/adddevicewidget.h"
#include "camdlg/copyinfo.h"
#include "camdlg/moddevice.h"
#include "tests/camdlg/copyplandriver.h"
#include "tests/support/camerafixture.h"
#include "tests/support/modaldriver.h"
#include "tests/support/widgetdriver.h"
#include "toolkit/programlook.h"
#include "toolkit/tooltip.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include <functional>
#include <memory>

namespace {

enum Column { ColType, ColName, ColLevel, ColResolution, ColFramerate, ColBitrate, ColRecommended };

QTreeView *Table(QWidget *panel)
{
    return panel->findChild<QTreeView *>("m_pTableCamera");
}

QString Cell(QWidget *panel, int row, int column)
{
    QAbstractItemModel *model = Table(panel)->model();
    return model->index(row, column).data().toString();
}

QPoint RowPoint(QWidget *panel, int row)
{
    QTreeView *table = Table(panel);
    return table->visualRect(table->model()->index(row, ColType)).center();
}

void ClickRow(QWidget *panel, int row)
{
    QTest::mouseClick(Table(panel)->viewport(), Qt::LeftButton, {}, RowPoint(panel, row));
}

void DoubleClickRow(QWidget *panel, int row)
{
    QTest::mouseDClick(Table(panel)->viewport(), Qt::LeftButton, {}, RowPoint(panel, row));
}

void ClickHeader(QWidget *panel, int column)
{
    QHeaderView *header = Table(panel)->header();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

// Every row's texts, or every record's as its row must show them.
QStringList RowTexts(CCalculateWidget *panel, bool records)
{
    QStringList texts;
    for (int row = 0; row < (records ? panel->CameraCount() : Table(panel)->model()->rowCount()); ++row)
        texts << (records
                      ? NordaVocab::CameraRowTexts(panel->Cameras().at(row)).join('|')
                      : QStringList({Cell(panel, row, 0), Cell(panel, row, 1), Cell(panel, row, 2), Cell(panel, row, 3),
                                     Cell(panel, row, 4), Cell(panel, row, 5), Cell(panel, row, 6)})
                            .join('|'));
    return texts;
}

STRU_CAMERA Imported(const char *name, int level, int bitrate)
{
    return MakeCamera(name, 0, 2, level, 25, bitrate, 10240);
}

enum Step { Sort, Delete, ModifyStep, CopyPlan, ImportMerge, SwitchStandard, OpenPlan, UndoAll, RedoAll };

} // namespace

class TestPanelEditing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void addBatchesThroughPanel();
    void addDialogKeptAndFollowsStandard();
    void modifyOpensCurrentRow_data();
    void modifyOpensCurrentRow();
    void modifyWithoutCurrentRowDoesNothing();
    void ipcLevelStoredAsBest();
    void importedCameraLosesSource();
    void levelChangeRewritesRow();
    void refusedBitrateChangesNothing();
    void copyThenCancelStillReplacesList();
    void copyPlanReachesTable();
    void offeredOwnValuesKept();
    void rowsShowTheirRecords_data();
    void rowsShowTheirRecords();

private:
    // One editing step as the user takes it, on the list the check starts from.
    void TakeStep(Step step);
    // Opens the modify dialog for the row by double click and runs 'steps' in it.
    std::shared_ptr<ModalSeen> Modify(int row, const std::function<void(CModDevice *)> &steps);

    std::unique_ptr<CCalculateWidget> m_panel;
    int m_iFirstStep = 0; // undo stack index before the check's steps
};

void TestPanelEditing::initTestCase()
{
    ApplyProgramLook();
}

void TestPanelEditing::init()
{
    m_panel = std::make_unique<CCalculateWidget>();
    m_panel->resize(1020, 813);
    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
}

void TestPanelEditing::cleanup()
{
    CToolTip::hideText();
    m_panel.reset();
}

std::shared_ptr<ModalSeen> TestPanelEditing::Modify(int row, const std::function<void(CModDevice *)> &steps)
{
    ClickRow(m_panel.get(), row);
    auto seen = ExpectModal([steps](QWidget *modal) {
        auto dlg = qobject_cast<CModDevice *>(modal);
        if (!dlg)
            return;
        // Return and Enter are window shortcuts of the dialog.
        dlg->activateWindow();
        if (QTest::qWaitForWindowActive(dlg))
            steps(dlg);
        if (dlg->isVisible())
            dlg->reject(); // a step that failed must not leave the dialog open
    });
    DoubleClickRow(m_panel.get(), row);
    return seen;
}

void TestPanelEditing::addBatchesThroughPanel()
{
    CCalculateWidget *panel = m_panel.get();
    QStringList namesAfterFirst, namesAfterSecond;
    std::shared_ptr<ModalSeen> limit;
    bool stayedOpen = false;
    auto seen = ExpectModal([&](QWidget *modal) {
        auto add = qobject_cast<CAddDeviceWidget *>(modal);
        if (!add)
            return;
        QCOMPARE(add->parentWidget(), static_cast<QWidget *>(panel));
        QCOMPARE(add->size(), QSize(450, 470));
        Retype(Edit(add, "m_pEditCameraNum"), "3");
        ClickChild(add, "m_pBtnAdd");
        for (int row = 0; row < Table(panel)->model()->rowCount(); ++row)
            namesAfterFirst << Cell(panel, row, ColName);

        ClickChild(add, "m_pCheckPrefix");
        Retype(Edit(add, "m_pEditPrefix"), "Gate");
        Retype(Edit(add, "m_pEditCameraNum"), "2");
        QVERIFY(Choose(add, "m_pComboResolution", "CIF"));
        ClickChild(add, "m_pBtnAdd");
        for (int row = 3; row < Table(panel)->model()->rowCount(); ++row)
            namesAfterSecond << Cell(panel, row, ColName);

        // 1024 more: the panel stops at 1024 cameras and says so.
        Retype(Edit(add, "m_pEditCameraNum"), "1024");
        limit = ExpectModal([](QWidget *box) { QTest::keyClick(box, Qt::Key_Return); }, add);
        ClickChild(add, "m_pBtnAdd");
        stayedOpen = add->isVisible();
        ClickChild(add, "m_pBtnCancel");
    });
    QTest::mouseClick(panel->findChild<QPushButton *>("m_pBtnAdd"), Qt::LeftButton);

    QVERIFY(seen->seen);
    QCOMPARE(seen->title, QStringLiteral("Add Device"));
    QCOMPARE(namesAfterFirst, QStringList({"Channel 1", "Channel 2", "Channel 3"}));
    QCOMPARE(namesAfterSecond, QStringList({"Gate 4", "Gate 5"}));
    QVERIFY(limit && limit->seen);
    QCOMPARE(limit->title, QStringLiteral("Warn"));
    QCOMPARE(limit->text, QStringLiteral("Device number can be more than 1024."));
    QVERIFY(stayedOpen);
    QCOMPARE(panel->CameraCount(), 1024);
    QCOMPARE(Table(panel)->model()->rowCount(), 1024);
    QCOMPARE(panel->Cameras().at(3).iResolution, 10);
    QCOMPARE(Cell(panel, 4, ColResolution), QStringLiteral("CIF"));
    QCOMPARE(Cell(panel, 0, ColBitrate), QStringLiteral("3072"));
    QCOMPARE(Cell(panel, 1023, ColName), QStringLiteral("Gate 1024"));
}

void TestPanelEditing::addDialogKeptAndFollowsStandard()
{
    CCalculateWidget *panel = m_panel.get();
    QPushButton *addButton = panel->findChild<QPushButton *>("m_pBtnAdd");

    QTest::mouseClick(panel->findChild<QRadioButton *>("m_pRadioNTSC"), Qt::LeftButton);
    QString firstRate;
    auto seen = ExpectModal([&](QWidget *add) {
        firstRate = Combo(add, "m_pComboFrameRate")->itemText(0);
        Retype(Edit(add, "m_pEditCameraNum"), "7");
        QVERIFY(Choose(add, "m_pComboLevel", "Level 2"));
        ClickChild(add, "m_pBtnCancel");
    });
    QTest::mouseClick(addButton, Qt::LeftButton);
    QVERIFY(seen->seen);
    QCOMPARE(firstRate, QStringLiteral("30"));

    // Back to PAL while the dialog is closed: it follows at once.
    const QList<CAddDeviceWidget *> dialogs = panel->findChildren<CAddDeviceWidget *>();
    QCOMPARE(dialogs.size(), 1);
    QTest::mouseClick(panel->findChild<QRadioButton *>("m_pRadioPAL"), Qt::LeftButton);
    QCOMPARE(Combo(dialogs.first(), "m_pComboFrameRate")->itemText(0), QStringLiteral("25"));

    QString count, level;
    seen = ExpectModal([&](QWidget *add) {
        count = Edit(add, "m_pEditCameraNum")->text();
        level = Combo(add, "m_pComboLevel")->currentText();
        firstRate = Combo(add, "m_pComboFrameRate")->currentText();
        ClickChild(add, "m_pCloseBtn");
    });
    QTest::mouseClick(addButton, Qt::LeftButton);
    QVERIFY(seen->seen);
    QCOMPARE(seen->widget.data(), static_cast<QWidget *>(dialogs.first()));
    QCOMPARE(count, QStringLiteral("7"));
    QCOMPARE(level, QStringLiteral("Level 2"));
    QCOMPARE(firstRate, QStringLiteral("25"));
    QCOMPARE(panel->findChildren<CAddDeviceWidget *>().size(), 1);
    QCOMPARE(panel->CameraCount(), 0);
}

void TestPanelEditing::modifyOpensCurrentRow_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("double click") << true;
    QTest::newRow("Modify") << false;
}

void TestPanelEditing::modifyOpensCurrentRow()
{
    QFETCH(bool, doubleClick);
    CCalculateWidget *panel = m_panel.get();
    panel->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 3072, 3072), "Channel", 1);
    panel->OnAddDeviceImport(MakeCamera("", 1, 10, 2, 12, 1500, 299), "Channel", 1);
    panel->OnAddDeviceImport(MakeCamera("", 0, 2, 0, 20, 7475, 7475), "Channel", 1);

    ClickRow(panel, 1);
    QVERIFY(panel->findChild<QPushButton *>("m_pBtnModify")->isEnabled());
    QString title, resolution, level, rate, bitrate;
    QWidget *parent = panel;
    bool isModify = false;
    auto seen = ExpectModal([&](QWidget *modal) {
        isModify = qobject_cast<CModDevice *>(modal) != nullptr;
        title = modal->findChild<QLabel *>("pLabelTitle")->text();
        parent = modal->parentWidget();
        resolution = Combo(modal, "m_pComboResolution")->currentText();
        level = Combo(modal, "m_pComboLevel")->currentText();
        rate = Combo(modal, "m_pComboFrameRate")->currentText();
        bitrate = Edit(modal, "m_pEditBitRate")->text();
        ClickChild(modal, "m_pBtnCancel");
    });
    if (doubleClick)
        DoubleClickRow(panel, 1);
    else
        QTest::mouseClick(panel->findChild<QPushButton *>("m_pBtnModify"), Qt::LeftButton);

    QVERIFY(seen->seen);
    QVERIFY(isModify);
    QCOMPARE(title, QStringLiteral("Mod Device"));
    QVERIFY(!parent);
    QCOMPARE(resolution, QStringLiteral("CIF"));
    QCOMPARE(level, QStringLiteral("Level 3"));
    QCOMPARE(rate, QStringLiteral("12"));
    QCOMPARE(bitrate, QStringLiteral("1500"));
    // Cancel changes nothing.
    QCOMPARE(panel->Cameras().at(1).iBitrate, 1500);
    QCOMPARE(Cell(panel, 1, ColBitrate), QStringLiteral("1500"));
}

void TestPanelEditing::modifyWithoutCurrentRowDoesNothing()
{
    CCalculateWidget *panel = m_panel.get();
    QCOMPARE(ModalsDuring([panel]() { panel->OnBtnModify(); }, Dismiss).size(), 0); // empty list

    panel->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 3072, 3072), "Channel", 2);
    Table(panel)->setCurrentIndex(QModelIndex());
    QVERIFY(!panel->findChild<QPushButton *>("m_pBtnModify")->isEnabled());
    QCOMPARE(ModalsDuring([panel]() { panel->OnBtnModify(); }, Dismiss).size(), 0);
    QCOMPARE(ModalsDuring([panel]() { panel->OnDoubleClicked(QModelIndex()); }, Dismiss).size(), 0);
}

void TestPanelEditing::ipcLevelStoredAsBest()
{
    CCalculateWidget *panel = m_panel.get();
    // The add dialog keeps the level chosen before switching to IPC.
    auto added = ExpectModal([](QWidget *add) {
        QVERIFY(Choose(add, "m_pComboLevel", "Level 4"));
        QVERIFY(Choose(add, "m_pComboDeviceType", "IPC"));
        ClickChild(add, "m_pBtnAdd");
        ClickChild(add, "m_pBtnCancel");
    });
    QTest::mouseClick(panel->findChild<QPushButton *>("m_pBtnAdd"), Qt::LeftButton);
    QVERIFY(added->seen);
    QCOMPARE(panel->Cameras().at(0).iLevel, 3);
    QCOMPARE(Cell(panel, 0, ColLevel), QStringLiteral("Level4"));

    QString level;
    bool levelEnabled = true;
    auto seen = Modify(0, [&](CModDevice *dlg) {
        level = Combo(dlg, "m_pComboLevel")->currentText();
        levelEnabled = Combo(dlg, "m_pComboLevel")->isEnabled();
        ClickChild(dlg, "m_pBtnAdd");
    });
    QVERIFY(seen->seen);
    QCOMPARE(level, QStringLiteral("Level 1(best)"));
    QVERIFY(!levelEnabled);
    QCOMPARE(panel->Cameras().at(0).iLevel, 0);
    QCOMPARE(Cell(panel, 0, ColLevel), QStringLiteral("Level1(best)"));
    QCOMPARE(Cell(panel, 0, ColName), QStringLiteral("Channel 1"));
}

void TestPanelEditing::importedCameraLosesSource()
{
    CCalculateWidget *panel = m_panel.get();
    STRU_CAMERA imported = MakeCamera("", 1, 8, 0, 25, 2048, 3072);
    imported.strDeviceIP = "192.168.1.64";
    imported.iPort = 8000;
    imported.iChannel = 2;
    panel->OnAddDeviceImport(imported, "192.168.1.64", 1);
    QCOMPARE(panel->Cameras().at(0).iPort, 8000);

    auto seen = Modify(0, [](CModDevice *dlg) { QTest::keyClick(dlg, Qt::Key_Return); });
    QVERIFY(seen->seen);
    const STRU_CAMERA after = panel->Cameras().at(0);
    QVERIFY(after.strDeviceIP.isEmpty());
    QCOMPARE(after.iPort, -1);
    QCOMPARE(after.iChannel, -1);
    QCOMPARE(after.iBitrate, 2048);
    QCOMPARE(QString::fromLocal8Bit(after.strName), Cell(panel, 0, ColName));
}

void TestPanelEditing::levelChangeRewritesRow()
{
    CCalculateWidget *panel = m_panel.get();
    panel->OnAddDeviceImport(MakeCamera("", 1, 11, 5, 25, 100, 96), "Channel", 2);
    QString bitrateBefore, recommendBefore, bitrateAfter, recommendAfter;
    auto seen = Modify(1, [&](CModDevice *dlg) {
        bitrateBefore = Edit(dlg, "m_pEditBitRate")->text();
        recommendBefore = Edit(dlg, "m_pEditRecommand")->text();
        QVERIFY(Choose(dlg, "m_pComboLevel", "Level 5"));
        bitrateAfter = Edit(dlg, "m_pEditBitRate")->text();
        recommendAfter = Edit(dlg, "m_pEditRecommand")->text();
        QTest::keyClick(Edit(dlg, "m_pEditBitRate"), Qt::Key_Enter, Qt::KeypadModifier);
    });
    QVERIFY(seen->seen);
    QCOMPARE(bitrateBefore, QStringLiteral("100"));
    QCOMPARE(recommendBefore, QStringLiteral("96"));
    QCOMPARE(bitrateAfter, QStringLiteral("128"));
    QCOMPARE(recommendAfter, QStringLiteral("128"));
    QCOMPARE(Cell(panel, 1, ColLevel), QStringLiteral("Level5"));
    QCOMPARE(Cell(panel, 1, ColBitrate), QStringLiteral("128"));
    QCOMPARE(Cell(panel, 1, ColRecommended), QStringLiteral("128"));
    QCOMPARE(Cell(panel, 0, ColBitrate), QStringLiteral("100"));
}

void TestPanelEditing::refusedBitrateChangesNothing()
{
    CCalculateWidget *panel = m_panel.get();
    panel->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 3072, 3072), "Channel", 1);
    QString tip;
    bool stayedOpen = false;
    auto seen = Modify(0, [&](CModDevice *dlg) {
        Retype(Edit(dlg, "m_pEditBitRate"), "16385");
        ClickChild(dlg, "m_pBtnAdd");
        tip = CToolTip::text();
        stayedOpen = dlg->isVisible();
        ClickChild(dlg, "m_pBtnCancel");
    });
    QVERIFY(seen->seen);
    QVERIFY(stayedOpen);
    QCOMPARE(tip, QStringLiteral("Bitrate should be between 32 and 16384."));
    QCOMPARE(panel->Cameras().at(0).iBitrate, 3072);
    QCOMPARE(Cell(panel, 0, ColBitrate), QStringLiteral("3072"));
}

void TestPanelEditing::copyThenCancelStillReplacesList()
{
    CCalculateWidget *panel = m_panel.get();
    panel->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 3072, 3072), "Channel", 3);
    std::shared_ptr<ModalSeen> plan;
    auto seen = Modify(0, [&](CModDevice *dlg) {
        QVERIFY(Choose(dlg, "m_pComboResolution", "CIF"));
        plan = ExpectCopyPlan(dlg, {"Channel 2"}, "pCancelBtn");
        ClickChild(dlg, "m_pBtnCopy");
        ClickChild(dlg, "m_pBtnAdd");
    });
    QVERIFY(seen->seen);
    QVERIFY(plan && plan->seen);
    // The list came back from the dialog, carrying the edits of the camera itself.
    QCOMPARE(panel->Cameras().at(0).iResolution, 10);
    QCOMPARE(panel->Cameras().at(0).iBitrate, 1024);
    QCOMPARE(Cell(panel, 0, ColResolution), QStringLiteral("CIF"));
    QCOMPARE(Cell(panel, 0, ColBitrate), QStringLiteral("1024"));
    QCOMPARE(panel->Cameras().at(1).iResolution, 8);
    QCOMPARE(Cell(panel, 1, ColResolution), QStringLiteral("4CIF"));
    QCOMPARE(panel->CameraCount(), 3);
}

void TestPanelEditing::copyPlanReachesTable()
{
    CCalculateWidget *panel = m_panel.get();
    panel->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 3072, 3072), "Channel", 2);
    panel->OnAddDeviceImport(MakeCamera("", 0, 2, 0, 25, 10240, 10240), "Gate", 2);
    std::shared_ptr<ModalSeen> plan;
    auto seen = Modify(1, [&](CModDevice *dlg) {
        QVERIFY(Choose(dlg, "m_pComboResolution", "2CIF"));
        QVERIFY(Choose(dlg, "m_pComboFrameRate", "1/2"));
        Retype(Edit(dlg, "m_pEditBitRate"), "640");
        plan = ExpectCopyPlan(dlg, {"Gate 3", "Gate 4"}, "pOkBtn");
        ClickChild(dlg, "m_pBtnCopy");
        ClickChild(dlg, "m_pBtnAdd");
    });
    QVERIFY(seen->seen);
    QVERIFY(plan && plan->seen);
    const QStringList names = {"Channel 1", "Channel 2", "Gate 3", "Gate 4"};
    for (int row = 0; row < 4; ++row)
        QCOMPARE(Cell(panel, row, ColName), names.at(row));
    for (int row = 1; row < 4; ++row) {
        QCOMPARE(Cell(panel, row, ColType), QStringLiteral("DVR"));
        QCOMPARE(Cell(panel, row, ColResolution), QStringLiteral("2CIF"));
        QCOMPARE(Cell(panel, row, ColFramerate), QStringLiteral("1/2"));
        QCOMPARE(Cell(panel, row, ColBitrate), QStringLiteral("640"));
        QCOMPARE(panel->Cameras().at(row).dFramerate, 0.5);
    }
    QCOMPARE(Cell(panel, 0, ColResolution), QStringLiteral("4CIF"));
    QCOMPARE(Cell(panel, 0, ColBitrate), QStringLiteral("3072"));
}

void TestPanelEditing::offeredOwnValuesKept()
{
    CCalculateWidget *panel = m_panel.get();
    // An analogue channel imported at an IP resolution, and an IP camera at 2560*1920.
    panel->OnAddDeviceImport(MakeCamera("", 1, 2, 0, 25, 4000, 6144), "Hall", 1);
    panel->OnAddDeviceImport(MakeCamera("", 0, 0, 0, 6, 9000, 9011), "Hall", 1);

    QString resolution;
    auto seen = Modify(0, [&](CModDevice *dlg) {
        resolution = Combo(dlg, "m_pComboResolution")->currentText();
        ClickChild(dlg, "m_pBtnAdd");
    });
    QVERIFY(seen->seen);
    QCOMPARE(resolution, QStringLiteral("1080P(1920*1080)"));
    QCOMPARE(panel->Cameras().at(0).iResolution, 2);
    QCOMPARE(Cell(panel, 0, ColResolution), QStringLiteral("1080P(1920*1080)"));

    int rates = 0;
    QString rate;
    seen = Modify(1, [&](CModDevice *dlg) {
        rates = Combo(dlg, "m_pComboFrameRate")->count();
        rate = Combo(dlg, "m_pComboFrameRate")->currentText();
        ClickChild(dlg, "m_pBtnAdd");
    });
    QVERIFY(seen->seen);
    QCOMPARE(rates, 10);
    QCOMPARE(rate, QStringLiteral("6"));
    QCOMPARE(panel->Cameras().at(1).dFramerate, 6.0);
    QCOMPARE(panel->Cameras().at(1).iBitrate, 9000);
    QCOMPARE(Cell(panel, 1, ColFramerate), QStringLiteral("6"));
}

void TestPanelEditing::rowsShowTheirRecords_data()
{
    QTest::addColumn<QList<int>>("steps");
    QTest::newRow("sort") << QList<int>{Sort};
    QTest::newRow("delete") << QList<int>{Delete};
    QTest::newRow("modify") << QList<int>{ModifyStep};
    QTest::newRow("copy plan") << QList<int>{CopyPlan};
    QTest::newRow("import merge after a sort") << QList<int>{Sort, ImportMerge};
    QTest::newRow("switch standard") << QList<int>{SwitchStandard};
    QTest::newRow("open a plan") << QList<int>{OpenPlan};
    QTest::newRow("undo every kind") << QList<int>{Sort,        Delete,         ModifyStep, CopyPlan,
                                                   ImportMerge, SwitchStandard, OpenPlan,   UndoAll};
    QTest::newRow("redo every kind") << QList<int>{Sort,           Delete,   ModifyStep, CopyPlan, ImportMerge,
                                                   SwitchStandard, OpenPlan, UndoAll,    RedoAll};
}

void TestPanelEditing::rowsShowTheirRecords()
{
    QFETCH(QList<int>, steps);
    CCalculateWidget *panel = m_panel.get();
    panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(panel));
    // IP cameras at a lower level, analogue channels and imported cameras in one list.
    panel->OnAddDeviceImport(MakeCamera("", 0, 2, 3, 25, 4096, 10240), "Dome", 3);
    panel->OnAddDeviceImport(MakeCamera("", 1, 10, 2, 12, 1500, 299), "Hall", 2);
    panel->MergeImportedCameras({Imported("10.1.1.5_1", 0, 6000), Imported("10.1.1.5_2", 0, 5000)});
    const QVector<STRU_CAMERA> start = panel->Cameras();
    m_iFirstStep = panel->UndoStack()->index();
    QCOMPARE(RowTexts(panel, false), RowTexts(panel, true));

    QVector<STRU_CAMERA> beforeUndo;
    for (const int step : std::as_const(steps)) {
        if (step == UndoAll)
            beforeUndo = panel->Cameras();
        TakeStep(static_cast<Step>(step));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(RowTexts(panel, false), RowTexts(panel, true));
    }
    // Undone to the start and redone to the end, camera for camera.
    if (steps.last() == UndoAll || steps.last() == RedoAll) {
        const QVector<STRU_CAMERA> expected = steps.last() == UndoAll ? start : beforeUndo;
        QCOMPARE(panel->CameraCount(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(Same(panel->Cameras().at(i), expected.at(i)), qPrintable(QString::number(i)));
    }
}

void TestPanelEditing::TakeStep(Step step)
{
    CCalculateWidget *panel = m_panel.get();
    QTreeView *table = Table(panel);
    switch (step) {
    case Sort:
        ClickHeader(panel, ColBitrate);
        ClickHeader(panel, ColBitrate); // then from the highest
        QCOMPARE(Cell(panel, 0, ColBitrate), QStringLiteral("6000"));
        break;
    case Delete:
        ClickRow(panel, 1);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ControlModifier, RowPoint(panel, 3));
        QTest::keyClick(table, Qt::Key_Delete);
        break;
    case ModifyStep: {
        auto seen = Modify(1, [](CModDevice *dlg) {
            Retype(Edit(dlg, "m_pEditBitRate"), "777");
            QTest::keyClick(Edit(dlg, "m_pEditBitRate"), Qt::Key_Return);
        });
        QVERIFY(seen->seen);
        break;
    }
    case CopyPlan: {
        std::shared_ptr<ModalSeen> plan;
        const QString target = Cell(panel, 0, ColName);
        auto seen = Modify(2, [&](CModDevice *dlg) {
            QVERIFY(Choose(dlg, "m_pComboFrameRate", "10"));
            plan = ExpectCopyPlan(dlg, {target}, "pOkBtn");
            ClickChild(dlg, "m_pBtnCopy");
            ClickChild(dlg, "m_pBtnAdd");
        });
        QVERIFY(seen->seen && plan && plan->seen);
        break;
    }
    case ImportMerge:
        // The same devices again with their encoders' quality changed, a new one, and a name
        // that the import itself brings twice.
        panel->MergeImportedCameras({Imported("10.1.1.5_1", 3, 4000), Imported("10.1.1.5_2", 4, 3000),
                                     Imported("10.1.1.5_3", 1, 2000), Imported("10.1.1.5_3", 5, 1000)});
        break;
    case SwitchStandard:
        QTest::mouseClick(panel->findChild<QRadioButton *>("m_pRadioNTSC"), Qt::LeftButton);
        break;
    case OpenPlan: {
        STRU_PLAN plan;
        plan.vecCamera = {Imported("10.2.2.2_1", 3, 2048), MakeCamera("Hall 1", 1, 8, 1, 30, 1024, 2048)};
        plan.iStandard = NordaVocab::NTSC;
        panel->SetPlan(plan);
        break;
    }
    case UndoAll:
        panel->activateWindow(); // back from the dialogs of the steps before
        QVERIFY(QTest::qWaitForWindowActive(panel));
        // Ctrl+Z back to the list the steps started from, each press one step.
        while (panel->UndoStack()->index() > m_iFirstStep) {
            const int index = panel->UndoStack()->index();
            QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(panel->UndoStack()->index(), index - 1);
        }
        break;
    case RedoAll:
        while (panel->UndoStack()->canRedo()) {
            const int index = panel->UndoStack()->index();
            QTest::keyClick(table, Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(panel->UndoStack()->index(), index + 1);
        }
        break;
    }
}

QTEST_MAIN(TestPanelEditing)
#include "tst_paneledit.moc"
