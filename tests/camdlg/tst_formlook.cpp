// The panel and the camera dialogs as the program's look draws them: fields that only the
// program writes look read-only and Tab passes them over; Chinese and Latin texts of one table
// row stand on one baseline.
#include "calc/calculatewidget.h"
#include "camdlg/adddevicewidget.h"
#include "camdlg/moddevice.h"
#include "tests/support/camerafixture.h"
#include "toolkit/programlook.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace {

std::unique_ptr<QWidget> Form(const QString &name)
{
    if (name == QLatin1String("panel"))
        return std::make_unique<CCalculateWidget>();
    if (name == QLatin1String("add"))
        return std::make_unique<CAddDeviceWidget>(nullptr);
    return std::make_unique<CModDevice>(nullptr);
}

// The field's face just inside its left border, half-way down, where no text is drawn.
QColor Face(QWidget *field)
{
    const QImage image = field->grab().toImage();
    return image.pixelColor(4, image.height() / 2);
}

// How far below the row's top the first letter of the cell ends (its lowest dark pixel).
int FirstLetterFoot(QAbstractItemView *view, const QModelIndex &index)
{
    const QImage cell = view->viewport()->grab(view->visualRect(index)).toImage();
    const auto dark = [&cell](int x, int y) { return qGray(cell.pixel(x, y)) < 128; };
    int left = -1;
    for (int x = 0; x < cell.width() && left < 0; ++x) {
        for (int y = 0; y < cell.height() && left < 0; ++y) {
            if (dark(x, y))
                left = x;
        }
    }
    const int letter = QFontMetrics(view->font()).horizontalAdvance(index.data().toString().left(1));
    int foot = -1;
    for (int x = qMax(left, 0); x < qMin(left + letter - 1, cell.width()); ++x) {
        for (int y = 0; y < cell.height(); ++y) {
            if (dark(x, y))
                foot = qMax(foot, y);
        }
    }
    return foot;
}

} // namespace

class TestFormLook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ApplyProgramLook(); }
    void readOnlyFields_data();
    void readOnlyFields();
    void chineseAndLatinShareBaseline();
};

void TestFormLook::readOnlyFields_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("typedInto"); // a field of the same form that the user fills
    QTest::newRow("months") << "panel" << QByteArray("m_pEditMonth") << QByteArray("m_pEditTB");
    QTest::newRow("weeks") << "panel" << QByteArray("m_pEditDay") << QByteArray("m_pEditTB");
    QTest::newRow("days") << "panel" << QByteArray("m_pEditHour") << QByteArray("m_pEditGB");
    QTest::newRow("TB") << "panel" << QByteArray("m_pEditTB2") << QByteArray("m_pEditDay2");
    QTest::newRow("GB") << "panel" << QByteArray("m_pEditGB2") << QByteArray("m_pEditDay2");
    QTest::newRow("add: recommended") << "add" << QByteArray("m_pEditRecommand") << QByteArray("m_pEditBitRate");
    QTest::newRow("modify: recommended") << "modify" << QByteArray("m_pEditRecommand") << QByteArray("m_pEditBitRate");
}

void TestFormLook::readOnlyFields()
{
    QFETCH(QString, form);
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, typedInto);
    const std::unique_ptr<QWidget> host = Form(form);
    host->show();
    QVERIFY(QTest::qWaitForWindowActive(host.get()));
    auto result = host->findChild<QLineEdit *>(QString::fromLatin1(field));
    auto input = host->findChild<QLineEdit *>(QString::fromLatin1(typedInto));
    QVERIFY(result && input);
    // The results of "Calculate Disk" show once their tab is chosen.
    if (auto tabs = host->findChild<QTabWidget *>()) {
        for (int page = 0; page < tabs->count(); ++page) {
            if (tabs->widget(page)->isAncestorOf(result))
                tabs->setCurrentIndex(page);
        }
    }
    QVERIFY(input->isVisible());
    QVERIFY(result->isReadOnly());
    QVERIFY2(Face(result) != Face(input), qPrintable(Face(result).name()));

    // Round the whole Tab chain from the input field: the result field never takes the focus.
    input->setFocus();
    for (int step = 0; step < 40; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(QApplication::focusWidget() != result, qPrintable(QString::number(step)));
    }
}

void TestFormLook::chineseAndLatinShareBaseline()
{
    CCalculateWidget panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    // Device type "DVR" beside the name "DVR 通道 1": the same first letter in both cells.
    panel.OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 3072, 3072), QString::fromUtf8("DVR 通道"), 1);
    auto table = panel.findChild<QTreeView *>(QStringLiteral("m_pTableCamera"));
    const QModelIndex type = table->model()->index(0, 0);
    const QModelIndex name = table->model()->index(0, 1);
    QCOMPARE(name.data().toString(), QString::fromUtf8("DVR 通道 1"));
    QCOMPARE(type.data().toString(), QStringLiteral("DVR"));
    const int foot = FirstLetterFoot(table, type);
    QVERIFY(foot > 0);
    QCOMPARE(FirstLetterFoot(table, name), foot);
}

QTEST_MAIN(TestFormLook)
#include "tst_formlook.moc"
