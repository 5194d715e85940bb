#include "controls.h"

#include <QPainter>

namespace spindeck::ui {

namespace {

void setPaletteColour(QWidget& widget, std::initializer_list<QPalette::ColorRole> roles, const QColor& colour) {
    QPalette palette = widget.palette();
    for (const auto role : roles) {
        palette.setColor(QPalette::All, role, colour);
    }
    widget.setPalette(palette);
}

} // namespace

void setBackColor(QWidget& widget, const QColor& colour) {
    setPaletteColour(widget, {QPalette::Window, QPalette::Base, QPalette::Button}, colour);
    // A label shows its back colour only while its back style is opaque.
    if (qobject_cast<Label*>(&widget) == nullptr) {
        widget.setAutoFillBackground(true);
    }
}

void setForeColor(QWidget& widget, const QColor& colour) {
    setPaletteColour(widget, {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}, colour);
}

QColor backColor(const QWidget& widget) {
    return widget.palette().color(QPalette::Window);
}

QColor foreColor(const QWidget& widget) {
    return widget.palette().color(QPalette::WindowText);
}

void setFontName(QWidget& widget, const QString& face) {
    QFont font = widget.font();
    font.setFamily(face);
    widget.setFont(font);
}

Label::Label(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setBorderStyle(0);
    setBackStyle(1);
}

void Label::setBorderStyle(int style) {
    m_borderStyle = style;
    setFrameStyle(style == 1 ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setLineWidth(1);
}

void Label::setBackStyle(int style) {
    m_backStyle = style;
    setAutoFillBackground(style == 1);
}

Image::Image(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Image::setPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void Image::setBorderStyle(int style) {
    m_borderStyle = style;
    update();
}

void Image::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!m_picture.isNull()) {
        painter.drawPixmap(0, 0, m_picture);
    }
    if (m_borderStyle == 1) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace spindeck::ui
