// The modify dialog run modally on copies of a camera list, as the calculation panel runs it:
// how a camera opens, what OK stores, the bitrate refusal, the copy plan with its hand-back, the
// cameras whose values the lists do not offer, and the keys.
#include "camdlg/moddevice.h"
#include "tests/camdlg/copyplandriver.h"
#include "tests/support/camerafixture.h"
#include "tests/support/modaldriver.h"
#include "tests/support/widgetdriver.h"
#include "toolkit/programlook.h"
#include "toolkit/tooltip.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QVector<STRU_CAMERA> ThreeCameras()
{
    return {MakeCamera("Channel 1", 1, 8, 0, 25, 3072), MakeCamera("Channel 2", 1, 11, 5, 25, 100),
            MakeCamera("Channel 3", 0, 2, 0, 25, 10240)};
}

// The panel's calling order: standard, list, camera.
void Open(CModDevice &dlg, const QVector<STRU_CAMERA> &list, int index, int standard = 0)
{
    dlg.SetStandard(standard);
    dlg.SetCameraList(list);
    dlg.SetCamera(list.at(index));
}

} // namespace

class TestModDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void frame();
    void opensCamera_data();
    void opensCamera();
    void ipcLevelStoredAsBest();
    void importedCameraLosesSource();
    void ownBitrateThenRecommendation();
    void bitrateRefused_data();
    void bitrateRefused();
    void copyThenCancelKeepsEdits();
    void copyGivesEditedPlan();
    void copyRefusesBadBitrate();
    void offeredOwnValue_data();
    void offeredOwnValue();
    void largestIpcResolution();
    void keys();
};

void TestModDevice::initTestCase()
{
    ApplyProgramLook();
    qRegisterMetaType<STRU_CAMERA>("STRU_CAMERA");
}

void TestModDevice::cleanup()
{
    CToolTip::hideText();
}

void TestModDevice::frame()
{
    CModDevice dlg(nullptr);
    QCOMPARE(dlg.findChild<QLabel *>("pLabelTitle")->text(), QStringLiteral("Mod Device"));
    QCOMPARE(dlg.size(), QSize(450, 350));
    QCOMPARE(Combo(&dlg, "m_pComboDeviceType")->count(), 0);
    QCOMPARE(Combo(&dlg, "m_pComboLevel")->count(), 0);
    QVERIFY(!dlg.IsCopied());
    QVERIFY(dlg.GetCameraList().isEmpty());

    Open(dlg, ThreeCameras(), 0);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QRect inside = dlg.rect();
    for (const char *name : {"m_pLabelDeviceType", "m_pLabelLevel", "m_pLabelResolution", "m_pLabelFrameRate",
                             "m_pLabelBitRate", "m_pLabelRecommand"}) {
        auto label = dlg.findChild<QLabel *>(name);
        QVERIFY2(label && label->width() >= 100, name);
        QVERIFY2(label->width() >= label->sizeHint().width(), name);
    }
    for (const char *name : {"m_pComboDeviceType", "m_pComboLevel", "m_pComboResolution", "m_pComboFrameRate",
                             "m_pEditBitRate", "m_pEditRecommand"}) {
        auto field = dlg.findChild<QWidget *>(name);
        QCOMPARE(field->width(), 200);
        QVERIFY2(inside.contains(QRect(field->mapTo(&dlg, QPoint()), field->size())), name);
    }
    for (const char *name : {"m_pBtnCopy", "m_pBtnAdd", "m_pBtnCancel"}) {
        auto button = dlg.findChild<QPushButton *>(name);
        QCOMPARE(button->width(), 75);
        QVERIFY2(inside.contains(QRect(button->mapTo(&dlg, QPoint()), button->size())), name);
    }
    QVERIFY(dlg.findChild<QPushButton *>("m_pBtnCopy")->x() < dlg.findChild<QPushButton *>("m_pBtnAdd")->x());
    QVERIFY(Edit(&dlg, "m_pEditRecommand")->isReadOnly());
}

void TestModDevice::opensCamera_data()
{
    QTest::addColumn<int>("standard");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<int>("rates");

    QTest::newRow("DVR PAL") << 0 << 0 << "DVR"
                             << "Level 1(best)"
                             << "4CIF"
                             << "25" << 21;
    QTest::newRow("DVR level 6") << 0 << 1 << "DVR"
                                 << "Level 6"
                                 << "QCIF"
                                 << "25" << 21;
    QTest::newRow("IPC PAL") << 0 << 2 << "IPC"
                             << "Level 1(best)"
                             << "1080P(1920*1080)"
                             << "25" << 16;
}

void TestModDevice::opensCamera()
{
    QFETCH(int, standard);
    QFETCH(int, index);
    QFETCH(QString, type);
    QFETCH(QString, level);
    QFETCH(QString, resolution);
    QFETCH(QString, rate);
    QFETCH(int, rates);

    CModDevice dlg(nullptr);
    Open(dlg, ThreeCameras(), index, standard);
    QCOMPARE(Combo(&dlg, "m_pComboDeviceType")->currentText(), type);
    QCOMPARE(Combo(&dlg, "m_pComboLevel")->currentText(), level);
    QCOMPARE(Combo(&dlg, "m_pComboLevel")->isEnabled(), type == QLatin1String("DVR"));
    QCOMPARE(Combo(&dlg, "m_pComboResolution")->currentText(), resolution);
    QCOMPARE(Combo(&dlg, "m_pComboFrameRate")->currentText(), rate);
    QCOMPARE(Combo(&dlg, "m_pComboFrameRate")->count(), rates);
    QCOMPARE(Edit(&dlg, "m_pEditBitRate")->text(), QString::number(ThreeCameras().at(index).iBitrate));
}

void TestModDevice::ipcLevelStoredAsBest()
{
    QVector<STRU_CAMERA> list = ThreeCameras();
    list[2].iLevel = 3;
    CModDevice dlg(nullptr);
    Open(dlg, list, 2);
    QComboBox *level = Combo(&dlg, "m_pComboLevel");
    QCOMPARE(level->currentText(), QStringLiteral("Level 1(best)"));
    QVERIFY(!level->isEnabled());

    const int result = RunModal(dlg, [&]() { ClickChild(&dlg, "m_pBtnAdd"); });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dlg.GetCamera().iLevel, 0);
    QCOMPARE(dlg.GetCamera().iType, 0);
    QCOMPARE(dlg.GetCamera().strName, QByteArray("Channel 3"));
    QVERIFY(!dlg.IsCopied());
}

void TestModDevice::importedCameraLosesSource()
{
    QVector<STRU_CAMERA> list = ThreeCameras();
    list[0].strDeviceIP = "192.168.1.64";
    list[0].iPort = 8000;
    list[0].iChannel = 1;
    CModDevice dlg(nullptr);
    Open(dlg, list, 0);
    const int result = RunModal(dlg, [&]() { ClickChild(&dlg, "m_pBtnAdd"); });
    QCOMPARE(result, int(QDialog::Accepted));
    const STRU_CAMERA camera = dlg.GetCamera();
    QVERIFY(camera.strDeviceIP.isEmpty());
    QCOMPARE(camera.iPort, -1);
    QCOMPARE(camera.iChannel, -1);
    QCOMPARE(camera.strName, QByteArray("Channel 1"));
    QCOMPARE(camera.iBitrate, 3072);
    QCOMPARE(camera.iRecommendedBitrate, 3072);
}

void TestModDevice::ownBitrateThenRecommendation()
{
    CModDevice dlg(nullptr);
    Open(dlg, ThreeCameras(), 1);
    QCOMPARE(Edit(&dlg, "m_pEditBitRate")->text(), QStringLiteral("100"));
    QCOMPARE(Edit(&dlg, "m_pEditRecommand")->text(), QStringLiteral("96"));

    QVERIFY(Choose(Combo(&dlg, "m_pComboLevel"), "Level 5"));
    QCOMPARE(Edit(&dlg, "m_pEditBitRate")->text(), QStringLiteral("128"));
    QCOMPARE(Edit(&dlg, "m_pEditRecommand")->text(), QStringLiteral("128"));

    const int result = RunModal(dlg, [&]() { ClickChild(&dlg, "m_pBtnAdd"); });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dlg.GetCamera().iLevel, 4);
    QCOMPARE(dlg.GetCamera().iBitrate, 128);
}

void TestModDevice::bitrateRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("16385") << "16385";
    QTest::newRow("31") << "31";
    QTest::newRow("empty") << "";
}

void TestModDevice::bitrateRefused()
{
    QFETCH(QString, typed);
    CModDevice dlg(nullptr);
    Open(dlg, ThreeCameras(), 0);
    bool openAfterOk = false;
    QString tip;
    QWidget *focus = nullptr;
    const int result = RunModal(dlg, [&]() {
        Retype(Edit(&dlg, "m_pEditBitRate"), typed);
        ClickChild(&dlg, "m_pBtnAdd");
        openAfterOk = dlg.isVisible();
        tip = CToolTip::isVisible() ? CToolTip::text() : QString();
        focus = QApplication::focusWidget();
        ClickChild(&dlg, "m_pBtnCancel");
    });
    QVERIFY(openAfterOk);
    QCOMPARE(tip, QStringLiteral("Bitrate should be between 32 and 16384."));
    QCOMPARE(focus, Edit(&dlg, "m_pEditBitRate"));
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(dlg.GetCamera().iBitrate, 3072); // nothing stored
}

void TestModDevice::copyThenCancelKeepsEdits()
{
    const QVector<STRU_CAMERA> list = ThreeCameras();
    CModDevice dlg(nullptr);
    Open(dlg, list, 0);
    std::shared_ptr<ModalSeen> plan;
    const int result = RunModal(dlg, [&]() {
        QVERIFY(Choose(Combo(&dlg, "m_pComboResolution"), "2CIF"));
        plan = ExpectCopyPlan(&dlg, {"Channel 2"}, "pCancelBtn");
        ClickChild(&dlg, "m_pBtnCopy");
        ClickChild(&dlg, "m_pBtnAdd");
    });
    QVERIFY(plan->seen);
    QCOMPARE(plan->title, QStringLiteral("Copy plan"));
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(dlg.IsCopied());

    const QVector<STRU_CAMERA> after = dlg.GetCameraList();
    QCOMPARE(after.size(), 3);
    // The edited camera's entry carries the edits; the others are as they were.
    QCOMPARE(after.at(0).iResolution, 9);
    QCOMPARE(after.at(0).iBitrate, 1792);
    QCOMPARE(after.at(1).iResolution, 11);
    QCOMPARE(after.at(1).iBitrate, 100);
    QCOMPARE(after.at(2).iType, 0);
    QCOMPARE(dlg.GetCamera().iResolution, 9);
}

void TestModDevice::copyGivesEditedPlan()
{
    CModDevice dlg(nullptr);
    Open(dlg, ThreeCameras(), 1);
    std::shared_ptr<ModalSeen> plan;
    bool openAfterCopy = false;
    const int result = RunModal(dlg, [&]() {
        QVERIFY(Choose(Combo(&dlg, "m_pComboFrameRate"), "10"));
        Retype(Edit(&dlg, "m_pEditBitRate"), "200");
        plan = ExpectCopyPlan(&dlg, {"Channel 1", "Channel 3"}, "pOkBtn");
        ClickChild(&dlg, "m_pBtnCopy");
        openAfterCopy = dlg.isVisible();
        // The offscreen platform does not hand activation back when the plan closes.
        dlg.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        // Edits after the copy reach the own entry on OK, not the cameras copied to.
        Retype(Edit(&dlg, "m_pEditBitRate"), "300");
        QTest::keyClick(Edit(&dlg, "m_pEditBitRate"), Qt::Key_Return);
    });
    QVERIFY(plan->seen);
    QVERIFY(openAfterCopy);
    QCOMPARE(result, int(QDialog::Accepted));

    const QVector<STRU_CAMERA> after = dlg.GetCameraList();
    const QByteArray names[] = {"Channel 1", "Channel 2", "Channel 3"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(after.at(i).strName, names[i]);
        QCOMPARE(after.at(i).iType, 1);
        QCOMPARE(after.at(i).iResolution, 11);
        QCOMPARE(after.at(i).iLevel, 5);
        QCOMPARE(after.at(i).dFramerate, 10.0);
        QCOMPARE(after.at(i).iRecommendedBitrate, 49); // 96 / 5 + 10 * 4 * 96 / 125
    }
    QCOMPARE(after.at(0).iBitrate, 200);
    QCOMPARE(after.at(2).iBitrate, 200);
    QCOMPARE(after.at(1).iBitrate, 300);
}

void TestModDevice::copyRefusesBadBitrate()
{
    CModDevice dlg(nullptr);
    Open(dlg, ThreeCameras(), 0);
    QString tip;
    int result = 0;
    // Any box over the dialog, a copy plan above all, is counted and closed.
    const QList<ModalSeen> modals = ModalsDuring(
        [&]() {
            result = RunModal(dlg, [&]() {
                Retype(Edit(&dlg, "m_pEditBitRate"), "");
                // The plan would run modally inside this click, so it has been seen by now if it opened.
                ClickChild(&dlg, "m_pBtnCopy");
                tip = CToolTip::text();
                ClickChild(&dlg, "m_pBtnCancel");
            });
        },
        Dismiss, &dlg);
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(modals.size(), 0);
    QCOMPARE(tip, QStringLiteral("Bitrate should be between 32 and 16384."));
    QVERIFY(!dlg.IsCopied());
}

void TestModDevice::offeredOwnValue_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("resolutionText");
    QTest::addColumn<QString>("rateText");

    QTest::newRow("DVR at an IPC resolution") << 1 << 2 << 25.0 << "1080P(1920*1080)"
                                              << "25";
    QTest::newRow("DVR at an IPC rate") << 1 << 10 << 12.5 << "CIF"
                                        << "12.5";
    QTest::newRow("IPC at a DVR rate") << 0 << 6 << 3.0 << "720P(1280*760)"
                                       << "3";
    QTest::newRow("QXGA above its cap") << 0 << 1 << 25.0 << "QXGA(2048*1536)"
                                        << "25";
}

void TestModDevice::offeredOwnValue()
{
    QFETCH(int, type);
    QFETCH(int, resolution);
    QFETCH(double, rate);
    QFETCH(QString, resolutionText);
    QFETCH(QString, rateText);

    QVector<STRU_CAMERA> list = ThreeCameras();
    list[1] = MakeCamera("Channel 2", type, resolution, 0, rate, 2000);
    CModDevice dlg(nullptr);
    Open(dlg, list, 1);
    QCOMPARE(Combo(&dlg, "m_pComboResolution")->currentText(), resolutionText);
    QCOMPARE(Combo(&dlg, "m_pComboFrameRate")->currentText(), rateText);
    QCOMPARE(Edit(&dlg, "m_pEditBitRate")->text(), QStringLiteral("2000"));

    const int result = RunModal(dlg, [&]() { ClickChild(&dlg, "m_pBtnAdd"); });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dlg.GetCamera().iResolution, resolution);
    QCOMPARE(dlg.GetCamera().dFramerate, rate);
    QCOMPARE(dlg.GetCamera().iType, type);
}

void TestModDevice::largestIpcResolution()
{
    QVector<STRU_CAMERA> list = ThreeCameras();
    list[2] = MakeCamera("Channel 3", 0, 0, 0, 6, 9011);
    CModDevice dlg(nullptr);
    Open(dlg, list, 2);
    QComboBox *rates = Combo(&dlg, "m_pComboFrameRate");
    QCOMPARE(Combo(&dlg, "m_pComboResolution")->currentText(), QStringLiteral("2560*1920"));
    QCOMPARE(Texts(rates), QStringList({"8", "1/16", "1/8", "1/4", "1/2", "1", "2", "4", "6", "8"}));
    QCOMPARE(rates->currentText(), QStringLiteral("6"));
    QCOMPARE(Edit(&dlg, "m_pEditRecommand")->text(), QStringLiteral("9011"));

    // A rate above the cap is not offered by the list, so the camera keeps it as an extra entry.
    list[2].dFramerate = 25;
    CModDevice second(nullptr);
    Open(second, list, 2, 1);
    QCOMPARE(Combo(&second, "m_pComboFrameRate")->count(), 11); // the ten choices and its own 25
    QCOMPARE(Combo(&second, "m_pComboFrameRate")->currentText(), QStringLiteral("25"));
}

void TestModDevice::keys()
{
    CModDevice dlg(nullptr);
    Open(dlg, ThreeCameras(), 0);
    bool openAfterEscape = false;
    bool openAfterPick = false;
    int result = RunModal(dlg, [&]() {
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QTest::keyClick(Edit(&dlg, "m_pEditBitRate"), Qt::Key_Escape);
        openAfterEscape = dlg.isVisible();
        // Return in an open list picks the entry and leaves the dialog open.
        QVERIFY(PickInOpenList(Combo(&dlg, "m_pComboFrameRate"), "15", Qt::Key_Return));
        QTRY_VERIFY(!QApplication::activePopupWidget());
        openAfterPick = dlg.isVisible();
        QTest::keyClick(Combo(&dlg, "m_pComboLevel"), Qt::Key_Return);
    });
    QVERIFY(openAfterEscape);
    QVERIFY(openAfterPick);
    QCOMPARE(dlg.GetCamera().dFramerate, 15.0);
    QCOMPARE(result, int(QDialog::Accepted));

    CModDevice second(nullptr);
    Open(second, ThreeCameras(), 1);
    result = RunModal(second,
                      [&]() { QTest::keyClick(Edit(&second, "m_pEditBitRate"), Qt::Key_Enter, Qt::KeypadModifier); });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(second.GetCamera().iBitrate, 100);
}

QTEST_MAIN(TestModDevice)
#include "tst_moddevice.moc"
