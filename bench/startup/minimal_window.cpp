// The reference for the start-up benchmark: the smallest Qt Widgets program that shows a window
// with a word in it (a label, as in Qt's own first example), reporting when the window is shown
// and when it is first drawn. Drawing text brings in the font set-up that any real window pays.

#include <QApplication>
#include <QLabel>
#include <cstdio>
#include <ctime>

namespace {

void reportTiming(const char* moment) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "spindeck-timing %s %lld\n", moment,
                 static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
}

class Window final : public QLabel {
protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (!m_reported) {
            m_reported = true;
            reportTiming("painted");
        }
    }

private:
    bool m_reported = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Window window;
    window.setText("Spindeck");
    window.resize(606, 397);
    window.setWindowTitle("reference");
    window.show();
    reportTiming("shown");
    return QApplication::exec();
}
