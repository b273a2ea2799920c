// Form controls: line edits, combo and spin boxes, check boxes, radio buttons, scroll bars
// and item views.
#include "skinpaint.h"

using namespace Skin;

namespace {

// Pixel-exact triangle: 'rows' rows, the widest row 2*rows-1 pixels, centred in the image.
void PixelArrow(QImage &img, int dir, int rows, const QColor &c, int dx = 0, int dy = 0)
{
    QPainter p(&img);
    const int w = img.width(), h = img.height();
    const int base = 2 * rows - 1;
    if (dir == 0 || dir == 2) {
        const int x0 = (w - base) / 2 + dx, y0 = (h - rows) / 2 + dy;
        for (int i = 0; i < rows; ++i) {
            const int row = dir == 2 ? i : rows - 1 - i;
            p.fillRect(QRect(x0 + i, y0 + row, base - 2 * i, 1), c);
        }
    } else {
        const int y0 = (h - base) / 2 + dy, x0 = (w - rows) / 2 + dx;
        for (int i = 0; i < rows; ++i) {
            const int col = dir == 1 ? i : rows - 1 - i;
            p.fillRect(QRect(x0 + col, y0 + i, 1, base - 2 * i), c);
        }
    }
}

// Text field frame: 1-pixel border and an inset shadow row below the top edge.
QImage Field(int w, int h, const QColor &border, const QColor &fill, const QColor &shadow)
{
    QImage img = Box(w, h, border, fill, fill, 2);
    QPainter p(&img);
    p.fillRect(QRect(2, 1, w - 4, 1), shadow);
    return img;
}

QImage ComboFrame(const QColor &border, const QColor &top, const QColor &bottom)
{
    return Box(24, 20, border, top, bottom, 2);
}

QImage SpinButton(bool up, int state) // 0 normal, 1 hover, 2 disabled
{
    QImage img = NewImage(23, 10);
    {
        QPainter p(&img);
        const QColor face = state == 1 ? AccentLight : state == 2 ? QColor(0xEE, 0xF0, 0xF3) : QColor(0xE9, 0xED, 0xF2);
        p.fillRect(img.rect(), face);
        p.fillRect(QRect(0, 0, 1, 10), state == 2 ? BorderLight : Border);
        if (up)
            p.fillRect(QRect(1, 9, 22, 1), BorderLight);
    }
    PixelArrow(img, up ? 0 : 2, 3, state == 2 ? Disabled : state == 1 ? AccentDark : Ink, 0, 0);
    return img;
}

QImage CheckBox(int kind, bool hover) // 0 unchecked, 1 checked, 2 partly, 3 disabled
{
    QImage img;
    if (kind == 1)
        img = Box(16, 16, AccentDark, hover ? QColor(0x5E, 0x9D, 0xDC) : Accent,
                  hover ? QColor(0x4A, 0x8C, 0xCE) : AccentDark, 2.5);
    else if (kind == 3)
        img = Box(16, 16, BorderLight, QColor(0xF0, 0xF2, 0xF5), QColor(0xF0, 0xF2, 0xF5), 2.5);
    else
        img = Box(16, 16, hover ? Accent : Border, hover ? Qt::white : Qt::white,
                  hover ? AccentLight : QColor(0xEE, 0xF1, 0xF5), 2.5);
    QPainter p(&img);
    BeginAA(p);
    if (kind == 1) {
        p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygonF tick;
        tick << QPointF(4.2, 8.3) << QPointF(6.9, 11.0) << QPointF(11.8, 5.2);
        p.drawPolyline(tick);
    } else if (kind == 2) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRect(5, 5, 6, 6), hover ? AccentDark : Accent);
    }
    return img;
}

QImage Radio(bool checked, bool hover)
{
    QImage img = NewImage(16, 16);
    QPainter p(&img);
    BeginAA(p);
    p.setPen(Qt::NoPen);
    p.setBrush(checked || hover ? (hover ? AccentDark : Accent) : Border);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setBrush(VGradient(1, 15, Qt::white, hover ? AccentLight : QColor(0xEE, 0xF1, 0xF5)));
    p.drawEllipse(QRectF(1.6, 1.6, 12.8, 12.8));
    if (checked) {
        p.setBrush(hover ? AccentDark : Accent);
        p.drawEllipse(QRectF(4.5, 4.5, 7, 7));
    }
    return img;
}

QImage ScrollPanel(bool vertical)
{
    QImage img = NewImage(vertical ? 11 : 16, vertical ? 16 : 11);
    QPainter p(&img);
    p.fillRect(img.rect(), QColor(0xEB, 0xEE, 0xF2));
    p.fillRect(vertical ? QRect(0, 0, 1, 16) : QRect(0, 0, 16, 1), QColor(0xDD, 0xE2, 0xE8));
    return img;
}

QImage ScrollHandle(bool vertical, bool hover)
{
    const int w = vertical ? 11 : 32, h = vertical ? 32 : 11;
    QImage img = NewImage(w, h);
    QPainter p(&img);
    BeginAA(p);
    const QRectF r = vertical ? QRectF(1.5, 1.5, 8, h - 3) : QRectF(1.5, 1.5, w - 3, 8);
    p.setPen(QPen(hover ? AccentDark : QColor(0x98, 0xA5, 0xB5), 1));
    p.setBrush(hover ? QColor(0x8F, 0xB8, 0xE3) : QColor(0xC3, 0xCC, 0xD7));
    p.drawRoundedRect(r, 2.5, 2.5);
    return img;
}

// Arrow buttons of the scroll bars: 15 long, 13 across, with the bar's grey edge.
QImage ScrollArrow(int dir, bool hover)
{
    const bool vertical = dir == 0 || dir == 2;
    QImage img = NewImage(vertical ? 13 : 15, vertical ? 15 : 13);
    {
        QPainter p(&img);
        p.fillRect(img.rect(), QColor(112, 112, 112));
        p.fillRect(img.rect().adjusted(1, 1, -1, -1),
                   VGradient(1, img.height() - 1, hover ? AccentPale : QColor(0xF4, 0xF6, 0xF9),
                             hover ? AccentLight : QColor(0xE1, 0xE6, 0xEC)));
    }
    PixelArrow(img, dir, 4, hover ? AccentDark : Ink);
    return img;
}

QImage Branch(bool open)
{
    QImage img = NewImage(16, 16);
    PixelArrow(img, open ? 2 : 1, 4, QColor(0x5F, 0x6C, 0x7C));
    return img;
}

QImage SelectedItem()
{
    QImage img = NewImage(8, 26);
    QPainter p(&img);
    p.fillRect(img.rect(), VGradient(0, 26, QColor(0xE4, 0xEF, 0xFB), QColor(0xC9, 0xDE, 0xF4)));
    return img;
}

QImage ListViewHover()
{
    QImage img = NewImage(32, 32);
    QPainter p(&img);
    BeginAA(p);
    p.setPen(QPen(QColor(0x40, 0x83, 0xC5, 170), 1));
    p.setBrush(QColor(0x40, 0x83, 0xC5, 56));
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 4, 4);
    return img;
}

} // namespace

void DrawControls(ImageMap &out)
{
    const QString edit = "images/public/lineEdit/";
    out[edit + "edit_background.png"] = Field(16, 16, Border, Qt::white, QColor(0xE6, 0xEA, 0xEF));
    out[edit + "editbox_hover.png"] = Field(16, 16, Accent, Qt::white, AccentPale);
    out[edit + "Editbox_disable.png"] = Field(16, 16, BorderLight, QColor(0xF0, 0xF2, 0xF5), QColor(0xF0, 0xF2, 0xF5));

    const QString combo = "images/public/ComboBox/";
    out[combo + "combox.png"] = ComboFrame(Border, Qt::white, QColor(0xEF, 0xF2, 0xF6));
    out[combo + "combox_hover.png"] = ComboFrame(Accent, Qt::white, AccentPale);
    out[combo + "combox_open.png"] = ComboFrame(AccentDark, AccentPale, AccentLight);
    out[combo + "combox_disable.png"] = ComboFrame(BorderLight, QColor(0xF0, 0xF2, 0xF5), QColor(0xF0, 0xF2, 0xF5));
    QImage arrow = NewImage(7, 7);
    QImage arrowOff = arrow;
    PixelArrow(arrow, 2, 4, Ink);
    PixelArrow(arrowOff, 2, 4, Disabled);
    out[combo + "arrow_down.png"] = arrow;
    out[combo + "arrow_down_disable.png"] = arrowOff;

    const QString spin = "images/public/SpinBox/";
    out[spin + "spinBox_normal.png"] = ComboFrame(Border, Qt::white, Qt::white);
    out[spin + "up.png"] = SpinButton(true, 0);
    out[spin + "up_hover.png"] = SpinButton(true, 1);
    out[spin + "up_disable.png"] = SpinButton(true, 2);
    out[spin + "down.png"] = SpinButton(false, 0);
    out[spin + "down_hover.png"] = SpinButton(false, 1);
    out[spin + "down_disable.png"] = SpinButton(false, 2);

    const QString check = "images/public/CheckBox/";
    out[check + "unchecked.png"] = CheckBox(0, false);
    out[check + "unchecked_hover.png"] = CheckBox(0, true);
    out[check + "checked.png"] = CheckBox(1, false);
    out[check + "checked_hover.png"] = CheckBox(1, true);
    out[check + "partly.png"] = CheckBox(2, false);
    out[check + "partly_hover.png"] = CheckBox(2, true);
    out[check + "disabled.png"] = CheckBox(3, false);

    const QString radio = "images/public/Radio/";
    out[radio + "unchecked.png"] = Radio(false, false);
    out[radio + "unchecked_hover.png"] = Radio(false, true);
    out[radio + "checked.png"] = Radio(true, false);
    out[radio + "checked_hover.png"] = Radio(true, true);

    const QString bar = "images/public/scrollbar/";
    out[bar + "v_panel.png"] = ScrollPanel(true);
    out[bar + "h_panel.png"] = ScrollPanel(false);
    out[bar + "v_handle.png"] = ScrollHandle(true, false);
    out[bar + "v_handle_hover.png"] = ScrollHandle(true, true);
    out[bar + "h_handle.png"] = ScrollHandle(false, false);
    out[bar + "h_handle_hover.png"] = ScrollHandle(false, true);
    const char *arrows[] = {"up", "right", "down", "left"};
    for (int dir = 0; dir < 4; ++dir) {
        out[bar + arrows[dir] + ".png"] = ScrollArrow(dir, false);
        out[bar + arrows[dir] + "_hover.png"] = ScrollArrow(dir, true);
    }

    const QString tree = "images/public/TreeView/";
    QImage table = Box(16, 16, Border, Qt::white, Qt::white, 0);
    out[tree + "table_bg.png"] = table;
    out[tree + "tree_bg.png"] = Box(16, 16, BorderLight, Qt::white, Qt::white, 0);
    out[tree + "ViewMidItem.png"] = SelectedItem();
    out[tree + "branch_closed.png"] = Branch(false);
    out[tree + "branch_open.png"] = Branch(true);

    out["images/ControlPanel/ListView-hover.png"] = ListViewHover();
}
