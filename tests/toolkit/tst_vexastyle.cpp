// The widget style and the skin: painted and measured elements of CVexaStyle compared with the
// base "Windows" style, and every image and the style sheet present in the linked resources
// (the test links norda_resources and never calls Q_INIT_RESOURCE).
#include "toolkit/vexastyle.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QMovie>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardItemModel>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace {

QImage Blank(QSize size, QColor fill = Qt::transparent)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

bool AllPixels(const QImage &img, QRgb value)
{
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixel(x, y) != value)
                return false;
        }
    }
    return true;
}

QImage Grab(QWidget *w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestVexaStyle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void imagesLoad_data();
    void imagesLoad();
    void styleSheetImagesLoad();
    void styleSheetIsLatin1();
    void loadingAnimation();

    void selectedTabPainted();
    void tabMetrics();
    void noFocusRectangle();
    void styledPanelHasNoFrameLine_data();
    void styledPanelHasNoFrameLine();
    void radioButtonWider();
    void tabCloseIndicator_data();
    void tabCloseIndicator();
    void itemViewPanel_data();
    void itemViewPanel();
    void subElementRects();
    void itemCheckIndicator_data();
    void selectedItemTextVisible();
    void itemCheckIndicator();
    void uncheckableRowsAlike();
    void checkableRowsOneIndicator_data();
    void checkableRowsOneIndicator();
    void checkableTextStaysWhenSelected();

private:
    std::unique_ptr<QStyle> m_base;
    CVexaStyle *m_style = nullptr; // owned by the application
};

void TestVexaStyle::initTestCase()
{
    m_base.reset(QStyleFactory::create("Windows"));
    QVERIFY(m_base);
    m_style = new CVexaStyle;
    QApplication::setStyle(m_style);
    QCOMPARE(QApplication::style(), m_style);
}

// Every image path the program's windows name, in the spelling they use.
void TestVexaStyle::imagesLoad_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size"); // exact size where a style sheet depends on it
    const QSize any;
    const QList<QPair<const char *, QSize>> paths = {
        {":/images/Dialog/dialog_bg.png", any},
        {":/images/Dialog/dialog_bg2.png", any},
        {":/images/title/title_bg.png", any},
        {":/images/title/Eye.png", QSize(32, 32)},
        {":/images/title/mini.png", QSize(20, 20)},
        {":/images/title/mini_hover.png", QSize(20, 20)},
        {":/images/title/full-screen.png", QSize(20, 20)},
        {":/images/title/full-screen_hover.png", QSize(20, 20)},
        {":/images/title/back.png", QSize(20, 20)},
        {":/images/title/back_hover.png", QSize(20, 20)},
        {":/images/title/close.png", QSize(20, 20)},
        {":/images/title/close_hover.png", QSize(20, 20)},
        {":/images/Tab/tab_bg.png", any},
        {":/images/Tab/TabSelect.png", QSize(140, 40)},
        {":/images/Tab/TabUnselect.png", QSize(140, 40)},
        {":/images/Tab/test.png", any},
        {":/images/Tab/test2.png", any},
        {":images/Tab/TabClose.png", any},
        {":images/Tab/TabCloseHover.png", any},
        {":/images/Tab/Information.png", QSize(32, 32)},
        {":/images/DiskCalculate/HDD.png", QSize(32, 32)},
        {":/images/DiskCalculate/calculate.png", QSize(32, 32)},
        {":/images/DiskCalculate/add.png", QSize(32, 32)},
        {":/images/DiskCalculate/delete.png", QSize(32, 32)},
        {":/images/DiskCalculate/edit.png", QSize(32, 32)},
        {":/images/DiskCalculate/vigil.png", QSize(32, 32)},
        {":/images/DiskCalculate/client.png", QSize(32, 32)},
        {":/images/Help.png", any},
        {":/images/About.png", any},
        {":/images/Upgrade/tip.png", any},
        {":/images/button/button.png", any},
        {":/images/button/button_hover.png", any},
        {":images/button/button_hover.png", any},
        {":/images/button/button_disable.png", any},
        {":images/public/lineEdit/edit_background.png", any},
        {":images/public/ComboBox/combox.png", any},
        {":/images/public/SpinBox/spinBox_normal.png", any},
        {":/images/public/TreeView/table_bg.png", any},
        {":/images/public/TreeView/tree_bg.png", any},
        {":images/public/TreeView/ViewMidItem.png", any},
        {":images/ControlPanel/ListView-hover.png", any},
        {":/images/norda.png", QSize(256, 256)},
    };
    for (const auto &entry : paths)
        QTest::newRow(entry.first) << QString::fromLatin1(entry.first) << entry.second;
}

void TestVexaStyle::imagesLoad()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage img(path);
    QVERIFY2(!img.isNull(), qPrintable(path));
    if (size.isValid())
        QCOMPARE(img.size(), size);
}

// Images sliced by border widths must be larger than both slices, or the middle vanishes.
void TestVexaStyle::styleSheetImagesLoad()
{
    QFile file(":/qss/NORDA.qss");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString sheet = QString::fromLatin1(file.readAll());
    const QRegularExpression url(R"(url\(([^)]+)\)(\s+(\d+)\s+(\d+)\s+(\d+)\s+(\d+))?)");
    int count = 0;
    for (auto it = url.globalMatch(sheet); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString path = m.captured(1);
        const QImage img(path);
        QVERIFY2(!img.isNull(), qPrintable("missing in resources: " + path));
        if (m.hasCaptured(2)) {
            const int top = m.captured(3).toInt(), right = m.captured(4).toInt();
            const int bottom = m.captured(5).toInt(), left = m.captured(6).toInt();
            QVERIFY2(img.height() > top + bottom && img.width() > left + right, qPrintable(path));
        }
        ++count;
    }
    QVERIFY2(count > 40, qPrintable(QString::number(count)));
}

void TestVexaStyle::styleSheetIsLatin1()
{
    QFile file(":/qss/NORDA.qss");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    QVERIFY(data.size() > 8000);
    for (char c : data)
        QVERIFY2(uchar(c) < 0x80 || uchar(c) >= 0xA0, "not printable Latin-1");
    // Applying it must not be refused by the parser (a refused sheet logs a warning).
    QWidget w;
    QTest::failOnWarning(QRegularExpression("Could not parse"));
    w.setStyleSheet(QString::fromLatin1(data));
    w.ensurePolished();
}

void TestVexaStyle::loadingAnimation()
{
    QMovie movie(":/images/Loading.gif");
    QVERIFY(movie.isValid());
    QVERIFY(movie.frameCount() >= 8);
    QCOMPARE(movie.loopCount(), -1); // for ever
    // Step through one turn as the progress dialog's label would see it: every frame has a
    // delay and the spinner moves from frame to frame.
    QVERIFY(movie.jumpToNextFrame());
    const QImage first = movie.currentImage();
    QVERIFY(!first.isNull());
    QImage previous = first;
    for (int i = 1; i < movie.frameCount(); ++i) {
        QVERIFY(movie.nextFrameDelay() > 0);
        QVERIFY(movie.jumpToNextFrame());
        const QImage frame = movie.currentImage();
        QCOMPARE(frame.size(), first.size());
        QVERIFY2(frame != previous, qPrintable(QString::number(i)));
        previous = frame;
    }
}

void TestVexaStyle::selectedTabPainted()
{
    QTabWidget tabs;
    tabs.addTab(new QWidget, "Calculate Time");
    tabs.addTab(new QWidget, "Calculate Disk");
    tabs.resize(400, 200);
    tabs.setCurrentIndex(1);
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));

    QVERIFY(QTest::qWaitForWindowActive(&tabs));

    QTabBar *bar = tabs.tabBar();
    bar->setFocus();
    QTRY_VERIFY(bar->hasFocus());
    const QImage shot = Grab(bar);
    bar->clearFocus();
    QTRY_VERIFY(!bar->hasFocus());
    QCOMPARE(Grab(bar), shot); // the focused current tab shows no focus frame
    const QImage selected = QImage(":/images/Tab/test2.png").convertToFormat(QImage::Format_ARGB32);
    const QImage normal = QImage(":/images/Tab/test.png").convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!selected.isNull() && !normal.isNull());

    // A column near the left edge of each tab, clear of its text: the texture is tiled from the
    // tab bar's origin.
    auto matches = [&](int tab, const QImage &texture) {
        const QRect r = bar->tabRect(tab);
        const int x = r.left() + 4;
        for (int y = r.top() + 1; y < r.bottom() - 1; ++y) {
            if (shot.pixel(x, y) != texture.pixel(x % texture.width(), y % texture.height()))
                return false;
        }
        return true;
    };
    QVERIFY(matches(1, selected));
    QVERIFY(matches(0, normal));
    QVERIFY(!matches(0, selected));
    // The two pixels left of the tab are left unpainted.
    const QRect r = bar->tabRect(1);
    QVERIFY(shot.pixel(r.left(), r.top() + 10) != selected.pixel(r.left() % selected.width(), 10));
}

void TestVexaStyle::tabMetrics()
{
    QTabBar bar;
    bar.addTab("Calculate Time");
    bar.addTab("Calculate Disk");
    QCOMPARE(bar.tabRect(0).height(), 25);
    QCOMPARE(bar.sizeHint().height(), 25);

    QCOMPARE(m_style->pixelMetric(QStyle::PM_TabCloseIndicatorWidth), 20);
    QCOMPARE(m_style->pixelMetric(QStyle::PM_TabCloseIndicatorHeight), 20);
    QCOMPARE(m_style->pixelMetric(QStyle::PM_MenuButtonIndicator), 0);
    QVERIFY(m_base->pixelMetric(QStyle::PM_MenuButtonIndicator) > 0);

    bar.setTabsClosable(true);
    QWidget *close = bar.tabButton(0, QTabBar::RightSide);
    QVERIFY(close);
    QCOMPARE(close->size(), QSize(20, 20));
    // A button whose menu arrow would take room is as wide as one without a menu.
    QPushButton plain("About"), withMenu("About");
    QMenu menu;
    withMenu.setMenu(&menu);
    QCOMPARE(withMenu.sizeHint(), plain.sizeHint());
}

void TestVexaStyle::noFocusRectangle()
{
    QStyleOptionFocusRect option;
    option.rect = QRect(2, 2, 40, 20);
    option.state = QStyle::State_Enabled | QStyle::State_HasFocus;
    option.palette = QApplication::palette();
    option.backgroundColor = Qt::white;

    QImage ours = Blank(QSize(44, 24), Qt::white);
    QImage base = ours;
    {
        QPainter p(&ours);
        m_style->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p);
    }
    {
        QPainter p(&base);
        m_base->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p);
    }
    QVERIFY(AllPixels(ours, QColor(Qt::white).rgba()));
    QVERIFY(!AllPixels(base, QColor(Qt::white).rgba()));

    // A focused check box looks exactly like an unfocused one.
    QWidget window;
    QCheckBox *box = new QCheckBox("Prefix:", &window);
    QPushButton *other = new QPushButton("OK", &window);
    other->move(0, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    const QImage unfocused = Grab(box);
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(Grab(box), unfocused);
}

void TestVexaStyle::styledPanelHasNoFrameLine_data()
{
    QTest::addColumn<int>("shadow");
    QTest::newRow("raised") << int(QFrame::Raised);
    QTest::newRow("sunken") << int(QFrame::Sunken);
    QTest::newRow("plain") << int(QFrame::Plain);
}

void TestVexaStyle::styledPanelHasNoFrameLine()
{
    QFETCH(int, shadow);
    auto render = [shadow](QStyle *style) {
        QFrame frame;
        frame.setStyle(style);
        frame.setFrameShape(QFrame::StyledPanel);
        frame.setFrameShadow(QFrame::Shadow(shadow));
        frame.setLineWidth(1);
        frame.setAutoFillBackground(true);
        QPalette pal = frame.palette();
        pal.setColor(QPalette::Window, Qt::white);
        frame.setPalette(pal);
        frame.resize(60, 30);
        return Grab(&frame);
    };
    QVERIFY(AllPixels(render(m_style), QColor(Qt::white).rgba()));
    QVERIFY(!AllPixels(render(m_base.get()), QColor(Qt::white).rgba()));

    // Other shapes keep their lines.
    QFrame box;
    box.setFrameShape(QFrame::Box);
    box.setAutoFillBackground(true);
    box.resize(60, 30);
    QVERIFY(!AllPixels(Grab(&box), box.palette().color(QPalette::Window).rgba()));
}

void TestVexaStyle::radioButtonWider()
{
    QRadioButton ours("PAL"), base("PAL");
    base.setStyle(m_base.get());
    QCOMPARE(ours.sizeHint().width(), base.sizeHint().width() + 20);
    QCOMPARE(ours.sizeHint().height(), base.sizeHint().height());
}

void TestVexaStyle::tabCloseIndicator_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("image"); // empty: nothing painted
    QTest::newRow("selected") << int(QStyle::State_Selected) << ":images/Tab/TabClose.png";
    QTest::newRow("hovered") << int(QStyle::State_MouseOver) << ":images/Tab/TabCloseHover.png";
    QTest::newRow("hovered selected") << int(QStyle::State_MouseOver | QStyle::State_Selected)
                                      << ":images/Tab/TabCloseHover.png";
    QTest::newRow("other tab") << int(QStyle::State_None) << QString();
}

void TestVexaStyle::tabCloseIndicator()
{
    QFETCH(int, state);
    QFETCH(QString, image);
    QStyleOption option;
    option.rect = QRect(0, 0, 30, 26);
    option.state = QStyle::State_Enabled | QStyle::StateFlag(state);
    QImage painted = Blank(option.rect.size());
    {
        QPainter p(&painted);
        m_style->drawPrimitive(QStyle::PE_IndicatorTabClose, &option, &p);
    }
    if (image.isEmpty()) {
        QVERIFY(AllPixels(painted, 0));
        return;
    }
    // 20 x 20, centred in the indicator's rectangle.
    QImage expected = Blank(option.rect.size());
    {
        QPainter p(&expected);
        p.drawPixmap(QRect(5, 3, 20, 20),
                     QPixmap(image).scaled(20, 20, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    QVERIFY(!AllPixels(expected, 0));
    QCOMPARE(painted, expected);
}

void TestVexaStyle::itemViewPanel_data()
{
    QTest::addColumn<bool>("selected");
    QTest::newRow("selected") << true;
    QTest::newRow("not selected") << false;
}

void TestVexaStyle::itemViewPanel()
{
    QFETCH(bool, selected);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 120, 40);
    option.state = QStyle::State_Enabled | (selected ? QStyle::State_Selected : QStyle::State_None);
    option.features = QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasDisplay;
    option.decorationSize = QSize(32, 32);
    option.text = "Camera";
    option.font = QApplication::font();
    option.fontMetrics = QFontMetrics(option.font);
    option.palette = QApplication::palette();
    QImage painted = Blank(option.rect.size());
    {
        QPainter p(&painted);
        m_style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, &p);
        m_style->drawPrimitive(QStyle::PE_PanelItemViewRow, &option, &p);
    }
    if (!selected) {
        QVERIFY(AllPixels(painted, 0));
        return;
    }
    const QRect decoration = m_style->subElementRect(QStyle::SE_ItemViewItemDecoration, &option);
    QVERIFY(decoration.isValid());
    QImage expected = Blank(option.rect.size());
    {
        QPainter p(&expected);
        p.drawPixmap(decoration, QPixmap(":images/ControlPanel/ListView-hover.png"));
    }
    QVERIFY(!AllPixels(expected, 0));
    QCOMPARE(painted, expected);
}

void TestVexaStyle::subElementRects()
{
    QStyleOptionTab tab;
    tab.rect = QRect(10, 0, 120, 25);
    tab.shape = QTabBar::RoundedNorth;
    tab.text = "Calculate Disk";
    tab.leftButtonSize = QSize(20, 20);
    tab.rightButtonSize = QSize(20, 20);
    tab.fontMetrics = QFontMetrics(QApplication::font());

    QCOMPARE(m_style->subElementRect(QStyle::SE_TabBarTabLeftButton, &tab).height(), 0);

    const QRect base = m_base->subElementRect(QStyle::SE_TabBarTabRightButton, &tab);
    const QRect right = m_style->subElementRect(QStyle::SE_TabBarTabRightButton, &tab);
    QVERIFY(base.isValid());
    QCOMPARE(right.left(), base.left() + m_style->pixelMetric(QStyle::PM_TabBarTabVSpace, &tab) + 1);
    QCOMPARE(right.top(), 2);
    QCOMPARE(right.size(), base.size());

    QStyleOptionViewItem item;
    item.rect = QRect(0, 0, 200, 26);
    item.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    item.text = "Camera 01";
    item.fontMetrics = QFontMetrics(QApplication::font());
    const QRect check = m_style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item);
    QCOMPARE(check.size(), QSize(16, 16));
    QVERIFY(item.rect.contains(check));
    // Centred on the row (where the style sheet draws its indicator image too) and starting
    // where the base style starts it, so the text after it does not move.
    QVERIFY(qAbs(check.center().y() - item.rect.center().y()) <= 1);
    QCOMPARE(check.left(), m_base->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item).left());

    // No check box, no indicator rectangle.
    item.features = QStyleOptionViewItem::HasDisplay;
    QVERIFY(!m_style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item).isValid());
}

void TestVexaStyle::itemCheckIndicator_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("image");
    QTest::newRow("checked") << int(QStyle::State_On) << ":/images/public/CheckBox/checked.png";
    QTest::newRow("unchecked") << int(QStyle::State_Off) << ":/images/public/CheckBox/unchecked.png";
    QTest::newRow("partly") << int(QStyle::State_NoChange) << ":/images/public/CheckBox/partly.png";
}

// The indicator of a checkable table cell is the skin's image and nothing spills outside it.
void TestVexaStyle::itemCheckIndicator()
{
    QFETCH(int, state);
    QFETCH(QString, image);
    QStyleOptionViewItem option;
    option.rect = QRect(4, 4, 16, 16);
    option.state = QStyle::State_Enabled | QStyle::State_HasFocus | QStyle::StateFlag(state);
    QImage painted = Blank(QSize(24, 24));
    {
        QPainter p(&painted);
        m_style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &option, &p);
    }
    QImage expected = Blank(QSize(24, 24));
    {
        QPainter p(&expected);
        p.drawPixmap(4, 4, QPixmap(image));
    }
    QVERIFY(!AllPixels(expected, 0));
    QCOMPARE(painted, expected);
}

// The style paints no selection panel behind item text, so the sheet must turn selected text
// dark; white text on the white view would vanish.
void TestVexaStyle::selectedItemTextVisible()
{
    QFile file(":/qss/NORDA.qss");
    QVERIFY(file.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromLatin1(file.readAll()));
    auto restore = qScopeGuard([] { qApp->setStyleSheet(QString()); });

    QListWidget list;
    list.addItems({"Recorder 1", "Recorder 2", "Recorder 3"});
    list.resize(200, 120);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.setCurrentRow(1);
    QVERIFY(list.item(1)->isSelected());
    const QImage shot = Grab(list.viewport());
    const QRect r = list.visualItemRect(list.item(1));
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            dark += qGray(shot.pixel(x, y)) < 100;
    }
    QVERIFY2(dark > 10, qPrintable(QString::number(dark)));
}

// Under the sheet (which skins item indicators) the cells of a table without check boxes are
// drawn alike on every row; the first cell of the first row once lost the top of its text.
void TestVexaStyle::uncheckableRowsAlike()
{
    QFile file(":/qss/NORDA.qss");
    QVERIFY(file.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromLatin1(file.readAll()));
    auto restore = qScopeGuard([] { qApp->setStyleSheet(QString()); });

    QStandardItemModel model(2, 2);
    for (int row = 0; row < 2; ++row) {
        model.setItem(row, 0, new QStandardItem("DVR"));
        model.setItem(row, 1, new QStandardItem("Channel"));
    }
    QTreeView view;
    view.setRootIsDecorated(false);
    view.setIndentation(0);
    view.setModel(&model);
    view.resize(300, 150);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage shot = Grab(view.viewport());
    for (int column = 0; column < 2; ++column) {
        const QRect first = view.visualRect(model.index(0, column));
        const QRect second = view.visualRect(model.index(1, column));
        QCOMPARE(first.size(), second.size());
        QCOMPARE(shot.copy(first), shot.copy(second));
    }
}

void TestVexaStyle::checkableRowsOneIndicator_data()
{
    QTest::addColumn<int>("rowHeight");
    for (int height : {20, 25, 26, 30, 31})
        QTest::addRow("%d px rows", height) << height;
}

// Under the sheet the check box of a table row is the sheet's 16 x 16 image and ours lies
// exactly beneath it: nothing of a second image may show above or below.
void TestVexaStyle::checkableRowsOneIndicator()
{
    QFETCH(int, rowHeight);
    QFile file(":/qss/NORDA.qss");
    QVERIFY(file.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromLatin1(file.readAll()));
    auto restore = qScopeGuard([] { qApp->setStyleSheet(QString()); });

    QStandardItemModel model;
    for (Qt::CheckState state : {Qt::Unchecked, Qt::Checked}) {
        auto item = new QStandardItem("Channel");
        item->setCheckable(true);
        item->setCheckState(state);
        model.appendRow(item);
    }
    QTableView view;
    view.horizontalHeader()->hide();
    view.verticalHeader()->hide();
    view.verticalHeader()->setMinimumSectionSize(10);
    view.verticalHeader()->setDefaultSectionSize(rowHeight);
    view.setShowGrid(false);
    view.setModel(&model);
    view.resize(200, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage shot = Grab(view.viewport());
    for (int row = 0; row < model.rowCount(); ++row) {
        const QRect cell = view.visualRect(model.index(row, 0));
        QCOMPARE(cell.height(), rowHeight);
        // The indicator sits in the cell's first 20 pixels, before the text.
        const QRgb background = shot.pixel(cell.right(), cell.top());
        int markedRows = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x < cell.left() + 20; ++x) {
                if (shot.pixel(x, y) != background) {
                    ++markedRows;
                    break;
                }
            }
        }
        QCOMPARE(markedRows, 16);
    }
}

// A selected row is laid out by the sheet, the others by the style: the text after the check
// box starts at the same place in both.
void TestVexaStyle::checkableTextStaysWhenSelected()
{
    QFile file(":/qss/NORDA.qss");
    QVERIFY(file.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromLatin1(file.readAll()));
    auto restore = qScopeGuard([] { qApp->setStyleSheet(QString()); });

    QStandardItemModel model;
    for (int row = 0; row < 2; ++row) {
        auto item = new QStandardItem("Channel");
        item->setCheckable(true);
        item->setCheckState(Qt::Unchecked);
        model.appendRow(item);
    }
    QTableView view;
    view.horizontalHeader()->hide();
    view.verticalHeader()->hide();
    view.setShowGrid(false);
    view.setModel(&model);
    view.resize(200, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setCurrentIndex(model.index(1, 0));
    QVERIFY(view.selectionModel()->isSelected(model.index(1, 0)));
    const QImage shot = Grab(view.viewport());
    // The first text column: the leftmost dark pixel right of the indicator.
    auto textStart = [&shot](const QRect &cell) {
        for (int x = cell.left() + 20; x <= cell.right(); ++x) {
            for (int y = cell.top(); y <= cell.bottom(); ++y) {
                if (qGray(shot.pixel(x, y)) < 100)
                    return x;
            }
        }
        return -1;
    };
    const int plain = textStart(view.visualRect(model.index(0, 0)));
    QVERIFY(plain > 0);
    QCOMPARE(textStart(view.visualRect(model.index(1, 0))), plain);
}

QTEST_MAIN(TestVexaStyle)
#include "tst_vexastyle.moc"
