// The copy plan run modally as the modify dialog runs it: its rows, "Choose All", OK with and
// without a choice, Cancel and the close button, and the keys.
#include "camdlg/copyinfo.h"
#include "tests/support/camerafixture.h"
#include "tests/support/modaldriver.h"
#include "tests/support/widgetdriver.h"
#include "toolkit/programlook.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>

namespace {

QVector<STRU_CAMERA> FourCameras()
{
    // Each recommendation differs from its bitrate, so a copy that mixes the two shows.
    STRU_CAMERA imported = MakeCamera("10.0.0.7_1", 0, 1, 0, 12.5, 7475, 7476);
    imported.strDeviceIP = "10.0.0.7";
    imported.iPort = 8000;
    imported.iChannel = 33;
    return {MakeCamera("Channel 1", 1, 8, 0, 25, 3072, 3073), imported,
            MakeCamera("Channel 2", 1, 10, 4, 0.5, 100, 101), MakeCamera("Gate 3", 0, 2, 0, 20, 7475, 7476)};
}

QAbstractItemModel *Rows(QWidget *dlg)
{
    auto table = dlg->findChild<QTableView *>("m_pTableCopy");
    return table ? table->model() : nullptr;
}

QStringList RowTexts(QWidget *dlg)
{
    QStringList texts;
    QAbstractItemModel *model = Rows(dlg);
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, 0).data().toString();
    return texts;
}

QList<int> CheckStates(QWidget *dlg)
{
    QList<int> states;
    QAbstractItemModel *model = Rows(dlg);
    for (int row = 0; row < model->rowCount(); ++row)
        states << model->index(row, 0).data(Qt::CheckStateRole).toInt();
    return states;
}

void SetChecked(QWidget *dlg, int row, Qt::CheckState state)
{
    QAbstractItemModel *model = Rows(dlg);
    model->setData(model->index(row, 0), state, Qt::CheckStateRole);
}

} // namespace

class TestCopyInfo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ApplyProgramLook(); }
    void frame();
    void rowsLeaveOutTheSource();
    void singleCameraGivesEmptyTable();
    void chooseAllAlternates();
    void okCopiesEveryFieldButTheName();
    void returnKeyActsAsOk();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void clickTicksRow_data();
    void clickTicksRow();
};

void TestCopyInfo::frame()
{
    CCopyInfo dlg(nullptr);
    QCOMPARE(dlg.findChild<QLabel *>("pLabelTitle")->text(), QStringLiteral("Copy plan"));
    QCOMPARE(dlg.size(), QSize(400, 500));
    QVERIFY(dlg.findChild<QWidget *>("pOkBtn")->isVisibleTo(&dlg));
    QVERIFY(dlg.findChild<QWidget *>("pCancelBtn")->isVisibleTo(&dlg));
    QVERIFY(dlg.findChild<QWidget *>("m_pCloseBtn")->isVisibleTo(&dlg));
    auto all = dlg.findChild<QPushButton *>("m_pBtnAll");
    QCOMPARE(all->text(), QStringLiteral("Choose All"));
    auto table = dlg.findChild<QTableView *>("m_pTableCopy");
    QVERIFY(table);
    QCOMPARE(table->model()->columnCount(), 1);

    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(all->width() >= 100);
    QVERIFY(table->horizontalHeader()->isHidden());
    auto label = dlg.findChild<QLabel *>("m_pLabelChoose");
    QVERIFY(label->width() >= label->sizeHint().width());
}

void TestCopyInfo::rowsLeaveOutTheSource()
{
    CCopyInfo dlg(nullptr);
    dlg.SetCameras(FourCameras(), 2);
    QCOMPARE(RowTexts(&dlg), QStringList({"Channel 1", "10.0.0.7_1", "Gate 3"}));
    QCOMPARE(CheckStates(&dlg), QList<int>({Qt::Unchecked, Qt::Unchecked, Qt::Unchecked}));
    QAbstractItemModel *model = Rows(&dlg);
    QCOMPARE(model->index(2, 0).data(Qt::UserRole).toInt(), 3);
    QVERIFY(model->flags(model->index(0, 0)) & Qt::ItemIsUserCheckable);
    QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
}

void TestCopyInfo::singleCameraGivesEmptyTable()
{
    const QVector<STRU_CAMERA> one = {FourCameras().first()};
    CCopyInfo dlg(nullptr);
    dlg.SetCameras(one, 0);
    QCOMPARE(Rows(&dlg)->rowCount(), 0);

    std::shared_ptr<ModalSeen> seen;
    bool openAfterMessage = false;
    const int result = RunModal(dlg, [&]() {
        seen = ExpectModal([](QWidget *box) { ClickChild(box, "m_pCloseBtn"); }, &dlg);
        ClickChild(&dlg, "pOkBtn");
        openAfterMessage = dlg.isVisible();
        ClickChild(&dlg, "pCancelBtn");
    });
    QVERIFY(seen->seen);
    QCOMPARE(seen->title, QStringLiteral("Information"));
    QCOMPARE(seen->text, QStringLiteral("Please select destiny channel."));
    QVERIFY(openAfterMessage);
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(Same(dlg.GetCameras().first(), one.first()));
}

void TestCopyInfo::chooseAllAlternates()
{
    CCopyInfo dlg(nullptr);
    dlg.SetCameras(FourCameras(), 0);
    dlg.show();
    auto all = dlg.findChild<QPushButton *>("m_pBtnAll");
    const QList<int> checked = {Qt::Checked, Qt::Checked, Qt::Checked};
    const QList<int> cleared = {Qt::Unchecked, Qt::Unchecked, Qt::Unchecked};

    QTest::mouseClick(all, Qt::LeftButton);
    QCOMPARE(CheckStates(&dlg), checked);
    // A row cleared by hand does not change what the next press does.
    SetChecked(&dlg, 1, Qt::Unchecked);
    QTest::mouseClick(all, Qt::LeftButton);
    QCOMPARE(CheckStates(&dlg), cleared);
    SetChecked(&dlg, 0, Qt::Checked);
    QTest::mouseClick(all, Qt::LeftButton);
    QCOMPARE(CheckStates(&dlg), checked);
}

void TestCopyInfo::okCopiesEveryFieldButTheName()
{
    const QVector<STRU_CAMERA> before = FourCameras();
    CCopyInfo dlg(nullptr);
    dlg.SetCameras(before, 1); // the imported IPC camera is the source

    const int result = RunModal(dlg, [&]() {
        SetChecked(&dlg, 0, Qt::Checked);          // "Channel 1"
        SetChecked(&dlg, 2, Qt::PartiallyChecked); // "Gate 3": a partial tick counts
        ClickChild(&dlg, "pOkBtn");
    });
    QCOMPARE(result, int(QDialog::Accepted));

    const QVector<STRU_CAMERA> after = dlg.GetCameras();
    QCOMPARE(after.size(), 4);
    const STRU_CAMERA &source = before.at(1);
    for (int target : {0, 3}) {
        STRU_CAMERA expected = source;
        expected.strName = before.at(target).strName;
        QVERIFY2(Same(after.at(target), expected), before.at(target).strName.constData());
        QCOMPARE(after.at(target).strDeviceIP, QByteArray("10.0.0.7"));
        QCOMPARE(after.at(target).iPort, 8000);
        QCOMPARE(after.at(target).iChannel, 33);
    }
    QVERIFY(Same(after.at(1), before.at(1)));
    QVERIFY(Same(after.at(2), before.at(2)));
}

void TestCopyInfo::returnKeyActsAsOk()
{
    const QVector<STRU_CAMERA> before = FourCameras();
    CCopyInfo dlg(nullptr);
    dlg.SetCameras(before, 0);
    bool openAfterEscape = false;
    std::shared_ptr<ModalSeen> seen;
    const int result = RunModal(dlg, [&]() {
        QTest::keyClick(&dlg, Qt::Key_Escape);
        openAfterEscape = dlg.isVisible();
        // Return with nothing ticked asks for a choice and stays open.
        seen = ExpectModal([](QWidget *box) { QTest::keyClick(box, Qt::Key_Return); }, &dlg);
        QTest::keyClick(dlg.findChild<QTableView *>("m_pTableCopy"), Qt::Key_Return);
        // The offscreen platform does not hand activation back when a child box closes.
        dlg.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        SetChecked(&dlg, 2, Qt::Checked);
        QTest::keyClick(dlg.findChild<QTableView *>("m_pTableCopy"), Qt::Key_Enter, Qt::KeypadModifier);
    });
    QVERIFY(openAfterEscape);
    QVERIFY(seen->seen);
    QCOMPARE(seen->text, QStringLiteral("Please select destiny channel."));
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dlg.GetCameras().at(3).iResolution, before.at(0).iResolution);
    QCOMPARE(dlg.GetCameras().at(3).strName, QByteArray("Gate 3"));
}

void TestCopyInfo::cancelChangesNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Cancel") << "pCancelBtn";
    QTest::newRow("close button") << "m_pCloseBtn";
}

void TestCopyInfo::cancelChangesNothing()
{
    QFETCH(QString, button);
    const QVector<STRU_CAMERA> before = FourCameras();
    CCopyInfo dlg(nullptr);
    dlg.SetCameras(before, 3);
    const int result = RunModal(dlg, [&]() {
        ClickChild(&dlg, "m_pBtnAll");
        ClickChild(&dlg, button.toLatin1().constData());
    });
    QCOMPARE(result, int(QDialog::Rejected));
    const QVector<STRU_CAMERA> after = dlg.GetCameras();
    QCOMPARE(after.size(), before.size());
    for (int i = 0; i < before.size(); ++i)
        QVERIFY(Same(after.at(i), before.at(i)));
}

void TestCopyInfo::clickTicksRow_data()
{
    QTest::addColumn<int>("where"); // the part of the row that is clicked
    QTest::newRow("name") << int(QStyle::SE_ItemViewItemText);
    QTest::newRow("box") << int(QStyle::SE_ItemViewItemCheckIndicator);
}

void TestCopyInfo::clickTicksRow()
{
    QFETCH(int, where);
    CCopyInfo dlg(nullptr);
    dlg.SetCameras(FourCameras(), 0);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto table = dlg.findChild<QTableView *>("m_pTableCopy");
    const QModelIndex row = table->model()->index(1, 0);
    QStyleOptionViewItem item;
    item.initFrom(table->viewport());
    item.rect = table->visualRect(row);
    item.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    item.text = row.data().toString();
    // Rows as high as in every other list of the program.
    QCOMPARE(item.rect.height(), 26);
    const QPoint at = table->style()->subElementRect(QStyle::SubElement(where), &item, table).center();

    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(CheckStates(&dlg), QList<int>({Qt::Unchecked, Qt::Checked, Qt::Unchecked}));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(CheckStates(&dlg), QList<int>({Qt::Unchecked, Qt::Unchecked, Qt::Unchecked}));
}

QTEST_MAIN(TestCopyInfo)
#include "tst_copyinfo.moc"
