// CVexaStyle: the program's widget style. It sits on Qt's "Windows" style and changes only a
// few elements: no focus rectangles or tab-bar base lines, image-painted tabs with 25 px height
// and 20 x 20 close images, frameless styled panels, wider radio buttons, no menu-button
// arrows and the skin's 16 x 16 check boxes in item views. Everything else is the base style's; the application style
// sheet (":/qss/NORDA.qss") skins the rest on top.
#pragma once

#include <QProxyStyle>

class CVexaStyle : public QProxyStyle
{
    Q_OBJECT

public:
    CVexaStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                           const QWidget *widget = nullptr) const override;
};
