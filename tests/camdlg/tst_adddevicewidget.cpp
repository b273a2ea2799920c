// The add camera dialog driven as a user does: the initial plan, the refusals of "Add>>" with
// their field tooltips, the prefix rules, the recommended bitrate for DVR and IPC choices, the
// frame-rate selection when the IPC resolution changes, reopening under another standard and
// the keys. A receiver on SignalAddCamera stands in for the calculation panel.
#include "camdlg/adddevicewidget.h"
#include "tests/support/modaldriver.h"
#include "tests/support/widgetdriver.h"
#include "toolkit/programlook.h"
#include "toolkit/tooltip.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Form
{
    explicit Form(QWidget *dlg)
        : type(dlg->findChild<QComboBox *>("m_pComboDeviceType"))
        , level(dlg->findChild<QComboBox *>("m_pComboLevel"))
        , resolution(dlg->findChild<QComboBox *>("m_pComboResolution"))
        , framerate(dlg->findChild<QComboBox *>("m_pComboFrameRate"))
        , bitrate(dlg->findChild<QLineEdit *>("m_pEditBitRate"))
        , recommand(dlg->findChild<QLineEdit *>("m_pEditRecommand"))
        , count(dlg->findChild<QLineEdit *>("m_pEditCameraNum"))
        , prefix(dlg->findChild<QLineEdit *>("m_pEditPrefix"))
        , prefixCheck(dlg->findChild<QCheckBox *>("m_pCheckPrefix"))
        , add(dlg->findChild<QPushButton *>("m_pBtnAdd"))
        , cancel(dlg->findChild<QPushButton *>("m_pBtnCancel"))
    {
    }
    bool complete() const
    {
        return type && level && resolution && framerate && bitrate && recommand && count && prefix && prefixCheck && add
            && cancel;
    }
    QComboBox *type, *level, *resolution, *framerate;
    QLineEdit *bitrate, *recommand, *count, *prefix;
    QCheckBox *prefixCheck;
    QPushButton *add, *cancel;
};

// A refused "Add>>": nothing handed over, the message in a tooltip beside the field, which
// has the focus again.
void CheckRefused(const QSignalSpy &spy, QLineEdit *field, const QString &message)
{
    QCOMPARE(spy.count(), 0);
    QVERIFY(CToolTip::isVisible());
    QCOMPARE(CToolTip::text(), message);
    QCOMPARE(QApplication::focusWidget(), field);
    QWidget *tip = VisibleTipLabel();
    QVERIFY(tip);
    const QRect near(field->mapToGlobal(QPoint()) - QPoint(5, 5), field->size() + QSize(10, 40));
    QVERIFY2(near.contains(tip->pos()), "the tooltip stands beside its field");
}

STRU_CAMERA Camera(const QSignalSpy &spy, int i)
{
    return spy.at(i).at(0).value<STRU_CAMERA>();
}

} // namespace

class TestAddDeviceWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void initialState();
    void formLayout();
    void cameraCount_data();
    void cameraCount();
    void bitrateRange_data();
    void bitrateRange();
    void prefixRefusesSeparators_data();
    void prefixRefusesSeparators();
    void prefixHandedOverUnchecked();
    void dvrReducedRate();
    void dvrBelowMinimumUntilTyped();
    void ipcFullHd_data();
    void ipcFullHd();
    void ipcNtscList();
    void resolutionSwitching();
    void typedBitrateReplaced_data();
    void typedBitrateReplaced();
    void reopenUnderPal();
    void keys();
    void helpKeyWithoutManual();
    void batchesWhileOpen();

private:
    void ShowActive(QWidget *dlg);
    QString m_oldDir;
};

void TestAddDeviceWidget::initTestCase()
{
    ApplyProgramLook();
    qRegisterMetaType<STRU_CAMERA>("STRU_CAMERA");
}

void TestAddDeviceWidget::cleanup()
{
    CToolTip::hideText();
}

void TestAddDeviceWidget::ShowActive(QWidget *dlg)
{
    dlg->setFixedSize(450, 470);
    dlg->show();
    dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dlg));
}

void TestAddDeviceWidget::initialState()
{
    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    QVERIFY(f.complete());

    QCOMPARE(f.type->currentText(), QStringLiteral("DVR"));
    QCOMPARE(f.type->currentData().toInt(), 1);
    QCOMPARE(f.type->itemData(1).toInt(), 0);
    QCOMPARE(f.level->currentText(), QStringLiteral("Level 1(best)"));
    QVERIFY(f.level->isEnabled());
    QCOMPARE(f.resolution->currentText(), QStringLiteral("4CIF"));
    QCOMPARE(Texts(f.resolution), QStringList({"4CIF", "2CIF", "CIF", "QCIF"}));
    QCOMPARE(f.framerate->currentData().toDouble(), 25.0);
    QCOMPARE(f.framerate->count(), 21);
    QCOMPARE(f.bitrate->text(), QStringLiteral("3072"));
    QCOMPARE(f.recommand->text(), QStringLiteral("3072"));
    QVERIFY(f.recommand->isReadOnly());
    QCOMPARE(f.count->text(), QStringLiteral("1"));
    QCOMPARE(f.count->maxLength(), 4);
    QCOMPARE(f.bitrate->maxLength(), 5);
    QVERIFY(!f.prefixCheck->isChecked());
    QVERIFY(!f.prefix->isEnabled());
    QCOMPARE(f.prefix->text(), QStringLiteral("Channel"));
    QCOMPARE(f.prefix->maxLength(), 15);
    QCOMPARE(dlg.findChild<QLabel *>("pLabelTitle")->text(), QStringLiteral("Add Device"));
    QVERIFY(!dlg.findChild<QWidget *>("m_pBottomFrame")->isVisibleTo(&dlg));
    QVERIFY(dlg.findChild<QWidget *>("m_pCloseBtn")->isVisibleTo(&dlg));

    // The prefix box only governs editing.
    f.prefixCheck->click();
    QVERIFY(f.prefix->isEnabled());
    f.prefixCheck->click();
    QVERIFY(!f.prefix->isEnabled());
}

void TestAddDeviceWidget::formLayout()
{
    CAddDeviceWidget dlg(nullptr);
    ShowActive(&dlg);
    const QStringList labels = {"m_pLabelCameraNum",  "m_pCheckPrefix",    "m_pLabelDeviceType", "m_pLabelLevel",
                                "m_pLabelResolution", "m_pLabelFrameRate", "m_pLabelBitRate",    "m_pLabelRecommand"};
    for (const QString &name : labels) {
        QWidget *label = dlg.findChild<QWidget *>(name);
        QVERIFY2(label, qPrintable(name));
        QVERIFY2(label->width() >= 100, qPrintable(name));
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(name + " is clipped"));
    }
    const QStringList fields = {"m_pEditCameraNum",   "m_pEditPrefix",     "m_pComboDeviceType", "m_pComboLevel",
                                "m_pComboResolution", "m_pComboFrameRate", "m_pEditBitRate",     "m_pEditRecommand"};
    const QRect inside = dlg.rect();
    for (const QString &name : fields) {
        QWidget *field = dlg.findChild<QWidget *>(name);
        QCOMPARE(field->width(), 200);
        QVERIFY2(inside.contains(QRect(field->mapTo(&dlg, QPoint()), field->size())), qPrintable(name));
    }
    for (const char *name : {"m_pBtnAdd", "m_pBtnCancel"}) {
        auto button = dlg.findChild<QPushButton *>(name);
        QVERIFY(button->width() >= button->sizeHint().width());
        QVERIFY(inside.contains(QRect(button->mapTo(&dlg, QPoint()), button->size())));
    }
}

void TestAddDeviceWidget::cameraCount_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");

    QTest::newRow("empty") << ""
                           << "Camera number cannot be empty.";
    QTest::newRow("zero") << "0"
                          << "Camera number cannot be empty.";
    QTest::newRow("one") << "1"
                         << "";
    QTest::newRow("1024") << "1024"
                          << "";
    QTest::newRow("1025") << "1025"
                          << "Camera number should be less than 1024.";
}

void TestAddDeviceWidget::cameraCount()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);

    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    ShowActive(&dlg);
    QSignalSpy spy(&dlg, &CAddDeviceWidget::SignalAddCamera);
    Retype(f.count, typed);
    QCOMPARE(f.count->text(), typed);
    f.bitrate->setFocus();

    QTest::mouseClick(f.add, Qt::LeftButton);
    if (message.isEmpty()) {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(2).toInt(), typed.toInt());
        QVERIFY(!CToolTip::isVisible());
        return;
    }
    CheckRefused(spy, f.count, message);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(dlg.isVisible());
}

void TestAddDeviceWidget::bitrateRange_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("31") << "31" << false;
    QTest::newRow("32") << "32" << true;
    QTest::newRow("16384") << "16384" << true;
    QTest::newRow("16385") << "16385" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("zero") << "0" << false;
}

void TestAddDeviceWidget::bitrateRange()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);

    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    ShowActive(&dlg);
    QSignalSpy spy(&dlg, &CAddDeviceWidget::SignalAddCamera);
    Retype(f.bitrate, typed);
    QCOMPARE(f.bitrate->text(), typed);
    f.count->setFocus();

    QTest::mouseClick(f.add, Qt::LeftButton);
    if (accepted) {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(Camera(spy, 0).iBitrate, typed.toInt());
        QCOMPARE(Camera(spy, 0).iRecommendedBitrate, 3072);
        QVERIFY(!CToolTip::isVisible());
    } else {
        CheckRefused(spy, f.bitrate, QStringLiteral("Bitrate should be between 32 and 16384."));
        if (QTest::currentTestFailed())
            return;
        // Nothing typed is lost.
        QCOMPARE(f.bitrate->text(), typed);
    }
}

void TestAddDeviceWidget::prefixRefusesSeparators_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    QTest::newRow("blank") << "Cam era"
                           << "Camera";
    QTest::newRow("caret") << "Ga^te"
                           << "Gate";
    QTest::newRow("underscore") << "Door_1"
                                << "Door1";
    QTest::newRow("other signs") << "Hall-2#"
                                 << "Hall-2#";
}

void TestAddDeviceWidget::prefixRefusesSeparators()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);

    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    ShowActive(&dlg);
    QTest::mouseClick(f.prefixCheck, Qt::LeftButton);
    QVERIFY(f.prefix->isEnabled());
    Retype(f.prefix, typed);
    QCOMPARE(f.prefix->text(), kept);

    QSignalSpy spy(&dlg, &CAddDeviceWidget::SignalAddCamera);
    QTest::mouseClick(f.add, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(1).toString(), kept);
}

void TestAddDeviceWidget::prefixHandedOverUnchecked()
{
    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    ShowActive(&dlg);
    QSignalSpy spy(&dlg, &CAddDeviceWidget::SignalAddCamera);

    QTest::mouseClick(f.add, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("Channel"));
    QCOMPARE(spy.at(0).at(2).toInt(), 1);

    // Typed while checked, then unchecked: the text still travels.
    QTest::mouseClick(f.prefixCheck, Qt::LeftButton);
    Retype(f.prefix, "Gate");
    QTest::mouseClick(f.prefixCheck, Qt::LeftButton);
    QVERIFY(!f.prefix->isEnabled());
    QTest::mouseClick(f.add, Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(1).toString(), QStringLiteral("Gate"));
}

void TestAddDeviceWidget::dvrReducedRate()
{
    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    ShowActive(&dlg);
    QVERIFY(Choose(f.framerate, "10"));
    QCOMPARE(f.recommand->text(), QStringLiteral("1597"));
    QCOMPARE(f.bitrate->text(), QStringLiteral("1597"));

    QSignalSpy spy(&dlg, &CAddDeviceWidget::SignalAddCamera);
    QTest::mouseClick(f.add, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    const STRU_CAMERA camera = Camera(spy, 0);
    QVERIFY(camera.strName.isEmpty());
    QVERIFY(camera.strDeviceIP.isEmpty());
    QCOMPARE(camera.iPort, -1);
    QCOMPARE(camera.iChannel, -1);
    QCOMPARE(camera.iType, 1);
    QCOMPARE(camera.iResolution, 8);
    QCOMPARE(camera.iLevel, 0);
    QCOMPARE(camera.dFramerate, 10.0);
    QCOMPARE(camera.iBitrate, 1597);
    QCOMPARE(camera.iRecommendedBitrate, 1597);
    // The dialog keeps its values for the next batch.
    QVERIFY(dlg.isVisible());
    QCOMPARE(f.framerate->currentText(), QStringLiteral("10"));
}

void TestAddDeviceWidget::dvrBelowMinimumUntilTyped()
{
    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    dlg.SetStandard(1);
    ShowActive(&dlg);
    QCOMPARE(f.framerate->itemText(0), QStringLiteral("30"));
    QVERIFY(Choose(f.resolution, "QCIF"));
    QVERIFY(Choose(f.level, "Level 6"));
    QVERIFY(Choose(f.framerate, "1"));
    QCOMPARE(f.recommand->text(), QStringLiteral("21"));
    QCOMPARE(f.bitrate->text(), QStringLiteral("21"));

    QSignalSpy spy(&dlg, &CAddDeviceWidget::SignalAddCamera);
    QTest::mouseClick(f.add, Qt::LeftButton);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(CToolTip::text(), QStringLiteral("Bitrate should be between 32 and 16384."));

    Retype(f.bitrate, "32");
    QTest::mouseClick(f.add, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    const STRU_CAMERA camera = Camera(spy, 0);
    QCOMPARE(camera.iBitrate, 32);
    QCOMPARE(camera.iRecommendedBitrate, 21);
    QCOMPARE(camera.iLevel, 5);
    QCOMPARE(camera.iResolution, 11);
    QCOMPARE(camera.dFramerate, 1.0);
}

void TestAddDeviceWidget::ipcFullHd_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("full") << "25" << 25.0 << "10240";
    QTest::newRow("12.5") << "12.5" << 12.5 << "5120";
    QTest::newRow("20") << "20" << 20.0 << "7475";
    QTest::newRow("1/2") << "1/2" << 0.5 << "160";
}

void TestAddDeviceWidget::ipcFullHd()
{
    QFETCH(QString, rate);
    QFETCH(double, value);
    QFETCH(QString, expected);

    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    ShowActive(&dlg);
    QVERIFY(Choose(f.level, "Level 4"));
    QVERIFY(Choose(f.type, "IPC"));
    QVERIFY(!f.level->isEnabled());
    QCOMPARE(f.resolution->count(), 12);
    QCOMPARE(f.resolution->currentText(), QStringLiteral("1080P(1920*1080)"));
    QCOMPARE(f.framerate->count(), 16);
    QCOMPARE(f.recommand->text(), QStringLiteral("10240"));

    QVERIFY(Choose(f.framerate, rate));
    QCOMPARE(f.recommand->text(), expected);
    QCOMPARE(f.bitrate->text(), expected);

    QSignalSpy spy(&dlg, &CAddDeviceWidget::SignalAddCamera);
    QTest::mouseClick(f.add, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(Camera(spy, 0).iType, 0);
    QCOMPARE(Camera(spy, 0).iResolution, 2);
    QCOMPARE(Camera(spy, 0).dFramerate, value);
    QCOMPARE(Camera(spy, 0).iBitrate, expected.toInt());
}

void TestAddDeviceWidget::ipcNtscList()
{
    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    dlg.SetStandard(1);
    QVERIFY(Choose(f.type, "IPC"));
    QCOMPARE(Texts(f.framerate),
             QStringList(
                 {"30", "1/16", "1/8", "1/4", "1/2", "1", "2", "4", "6", "8", "10", "12.5", "15", "18", "20", "22"}));
    QCOMPARE(f.framerate->currentIndex(), 0);
    QCOMPARE(f.recommand->text(), QStringLiteral("10240"));

    // Switching the standard while IPC returns to 1080P at the new full rate.
    QVERIFY(Choose(f.resolution, "VGA(640*480)"));
    dlg.SetStandard(0);
    QCOMPARE(f.resolution->currentText(), QStringLiteral("1080P(1920*1080)"));
    QCOMPARE(f.framerate->currentText(), QStringLiteral("25"));
    QCOMPARE(f.bitrate->text(), QStringLiteral("10240"));

    // Back to DVR: the DVR lists come back.
    QVERIFY(Choose(f.type, "DVR"));
    QVERIFY(f.level->isEnabled());
    QCOMPARE(f.resolution->count(), 4);
    QCOMPARE(f.framerate->count(), 21);
}

void TestAddDeviceWidget::resolutionSwitching()
{
    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    ShowActive(&dlg);
    QVERIFY(Choose(f.type, "IPC"));
    QVERIFY(Choose(f.framerate, "15"));
    QCOMPARE(f.recommand->text(), QStringLiteral("5632"));

    QVERIFY(Choose(f.resolution, "2560*1920"));
    QCOMPARE(Texts(f.framerate), QStringList({"8", "1/16", "1/8", "1/4", "1/2", "1", "2", "4", "6", "8"}));
    QCOMPARE(f.framerate->currentText(), QStringLiteral("8"));
    QCOMPARE(f.recommand->text(), QStringLiteral("9216"));
    QCOMPARE(f.bitrate->text(), QStringLiteral("9216"));

    QVERIFY(Choose(f.resolution, "QXGA(2048*1536)"));
    QCOMPARE(f.framerate->count(), 15);
    QCOMPARE(f.framerate->currentData().toDouble(), 8.0);
    QCOMPARE(f.recommand->text(), QStringLiteral("5529"));

    QVERIFY(Choose(f.framerate, "20"));
    QCOMPARE(f.recommand->text(), QStringLiteral("11264"));
    QVERIFY(Choose(f.resolution, "1080P(1920*1080)"));
    QCOMPARE(f.framerate->count(), 16);
    QCOMPARE(f.framerate->currentData().toDouble(), 20.0);
    QCOMPARE(f.recommand->text(), QStringLiteral("7475"));

    // 22 is above the QXGA cap and falls back to 20; a fraction is kept.
    QVERIFY(Choose(f.framerate, "22"));
    QVERIFY(Choose(f.resolution, "QXGA(2048*1536)"));
    QCOMPARE(f.framerate->currentData().toDouble(), 20.0);
    QCOMPARE(f.framerate->currentIndex(), 0);
    QVERIFY(Choose(f.framerate, "1/4"));
    QVERIFY(Choose(f.resolution, "2560*1920"));
    QCOMPARE(f.framerate->currentData().toDouble(), 0.25);
    QCOMPARE(f.recommand->text(), QStringLiteral("189"));
}

void TestAddDeviceWidget::typedBitrateReplaced_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("expected");

    QTest::newRow("device type") << "m_pComboDeviceType"
                                 << "IPC"
                                 << "10240";
    QTest::newRow("level") << "m_pComboLevel"
                           << "Level 2"
                           << "2048";
    QTest::newRow("resolution") << "m_pComboResolution"
                                << "2CIF"
                                << "1792";
    QTest::newRow("frame rate") << "m_pComboFrameRate"
                                << "1/16"
                                << "620";
}

void TestAddDeviceWidget::typedBitrateReplaced()
{
    QFETCH(QString, combo);
    QFETCH(QString, choice);
    QFETCH(QString, expected);

    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    ShowActive(&dlg);
    Retype(f.bitrate, "4000");
    QCOMPARE(f.bitrate->text(), QStringLiteral("4000"));
    QVERIFY(Choose(dlg.findChild<QComboBox *>(combo), choice));
    QCOMPARE(f.recommand->text(), expected);
    QCOMPARE(f.bitrate->text(), expected);
}

void TestAddDeviceWidget::reopenUnderPal()
{
    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    dlg.SetStandard(0);
    ShowActive(&dlg);
    QVERIFY(Choose(f.level, "Level 3"));
    QVERIFY(Choose(f.resolution, "CIF"));
    QVERIFY(Choose(f.framerate, "12"));
    QCOMPARE(f.recommand->text(), QStringLiteral("299")); // 512 / 5 + 12 * 4 * 512 / 125
    Retype(f.count, "3");
    dlg.hide();

    dlg.SetStandard(0);
    ShowActive(&dlg);
    QCOMPARE(f.resolution->currentText(), QStringLiteral("4CIF"));
    QCOMPARE(f.framerate->currentText(), QStringLiteral("25"));
    QCOMPARE(f.level->currentText(), QStringLiteral("Level 3"));
    QCOMPARE(f.recommand->text(), QStringLiteral("1792"));
    QCOMPARE(f.bitrate->text(), QStringLiteral("1792"));
    QCOMPARE(f.count->text(), QStringLiteral("3"));
}

void TestAddDeviceWidget::keys()
{
    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    QSignalSpy spy(&dlg, &CAddDeviceWidget::SignalAddCamera);
    dlg.setFixedSize(450, 470);
    RunModal(dlg, [&]() {
        QTest::keyClick(f.bitrate, Qt::Key_Escape);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(dlg.isVisible());
        QTest::keyClick(f.bitrate, Qt::Key_Return);
        QCOMPARE(spy.count(), 1);
        QTest::keyClick(f.count, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(spy.count(), 2);
        // Return and Enter in an open list only pick the entry.
        QVERIFY(PickInOpenList(f.framerate, "15", Qt::Key_Return));
        QVERIFY(PickInOpenList(f.level, "Level 2", Qt::Key_Enter));
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(f.framerate->currentText(), QStringLiteral("15"));
        QCOMPARE(f.level->currentText(), QStringLiteral("Level 2"));
        QCOMPARE(spy.count(), 2);
        QVERIFY(dlg.isVisible());
        QTest::mouseClick(f.cancel, Qt::LeftButton);
    });
    QCOMPARE(spy.count(), 2);
    QVERIFY(!dlg.isVisible());
}

void TestAddDeviceWidget::helpKeyWithoutManual()
{
    // No manual and no Setup.xml in the current directory.
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(empty.path()));

    CAddDeviceWidget dlg(nullptr);
    ShowActive(&dlg);
    auto seen = ExpectModal([](QWidget *box) { QTest::keyClick(box, Qt::Key_Return); }, &dlg);
    QTest::keyClick(&dlg, Qt::Key_F1);
    QTRY_VERIFY(seen->seen);
    QCOMPARE(seen->title, QStringLiteral("Info"));
    QCOMPARE(seen->text, QStringLiteral("Can not find Manual."));
    QVERIFY(dlg.isVisible());
    QDir::setCurrent(previous);
}

void TestAddDeviceWidget::batchesWhileOpen()
{
    // A receiver that creates the cameras, as the panel does.
    CAddDeviceWidget dlg(nullptr);
    Form f(&dlg);
    QVector<QPair<QString, int>> batches;
    connect(&dlg, &CAddDeviceWidget::SignalAddCamera, &dlg, [&](const STRU_CAMERA &, const QString &prefix, int count) {
        batches.append({prefix, count});
    });

    dlg.setFixedSize(450, 470);
    const int result = RunModal(dlg, [&]() {
        Retype(f.count, "3");
        QTest::mouseClick(f.add, Qt::LeftButton);
        QTest::mouseClick(f.prefixCheck, Qt::LeftButton);
        Retype(f.prefix, "Gate");
        Retype(f.count, "2");
        QTest::mouseClick(f.add, Qt::LeftButton);
        QTest::mouseClick(f.cancel, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(batches, (QVector<QPair<QString, int>>{{"Channel", 3}, {"Gate", 2}}));
}

QTEST_MAIN(TestAddDeviceWidget)
#include "tst_adddevicewidget.moc"
