#pragma once

// The simple controls the window designs are made of, with the few properties the windows change
// at run time: colours, face name, border and back style, picture.

#include <QColor>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace spindeck::ui {

void setBackColor(QWidget& widget, const QColor& colour);
void setForeColor(QWidget& widget, const QColor& colour);
[[nodiscard]] QColor backColor(const QWidget& widget);
[[nodiscard]] QColor foreColor(const QWidget& widget);
// Changes only the face of the widget's font; size and weight stay.
void setFontName(QWidget& widget, const QString& face);

// A static text with a border style (0 none, 1 single line) and a back style (0 transparent,
// 1 opaque).
class Label final : public QLabel {
    Q_OBJECT
public:
    Label(const QString& caption, QWidget* parent);
    void setBorderStyle(int style);
    [[nodiscard]] int borderStyle() const { return m_borderStyle; }
    void setBackStyle(int style);
    [[nodiscard]] int backStyle() const { return m_backStyle; }

private:
    int m_borderStyle = 0;
    int m_backStyle = 1;
};

// A picture at its own size, clipped to the control, drawn behind every other control of its
// window.
class Image final : public QWidget {
    Q_OBJECT
public:
    explicit Image(QWidget* parent);
    void setPicture(const QPixmap& picture);
    [[nodiscard]] const QPixmap& picture() const { return m_picture; }
    void setBorderStyle(int style);
    [[nodiscard]] int borderStyle() const { return m_borderStyle; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    int m_borderStyle = 0;
};

} // namespace spindeck::ui
