#pragma once

#include <QProxyStyle>

#include <initializer_list>

// The desktop's own style, with the keyboard focus always in sight: whichever control
// has it, box, button, tab, grid cell, picture or text view, is framed by a solid line
// two pixels wide in a colour of the palette that stands out at least 3:1 from what
// lies under and around it, in a light, dark or high-contrast theme alike. The frame
// is drawn inside the control, so no size changes, and lined with the control's face
// where the control's own drawing (a picture, a scroll bar) would touch it. A grid's
// header is ruled off from its first row in every style.
class FocusStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // Draws over the style of that name, as QStyleFactory knows it.
    explicit FocusStyle(const QString &baseStyle);

    // Makes it the application's style, over the one the desktop chose; once is enough.
    static void Install();
    // The name of the style the application's look is drawn over.
    static QString BaseStyleName();

    // The palette's colour for a focus frame over these backgrounds: Highlight where it
    // stands out enough from all of them, otherwise whichever text colour stands out most.
    static QColor FrameColour(const QPalette &palette, std::initializer_list<QColor> backgrounds);
    // WCAG's contrast ratio of two colours, from 1 (alike) to 21 (black and white).
    static qreal Contrast(const QColor &a, const QColor &b);

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;
};
