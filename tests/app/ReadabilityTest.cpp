#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/VXLMainWindow.h"
#include "widgets/GWAlert.h"

#include <QHash>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double luminance(const QColor& color)
{
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour most of the area shows: the background behind a line of text.
QColor backgroundOf(const QImage& area)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x)
            ++counts[area.pixel(x, y) | 0xff000000u];
    }
    const auto most = std::max_element(counts.begin(), counts.end());
    return most == counts.end() ? QColor() : QColor::fromRgb(most.key());
}

// Every visible label with a text, against what is painted behind it in `picture`, a grab
// of `top`: at least 4.5 : 1.
void expectReadableLabels(QWidget* top, const QImage& picture, const char* where)
{
    int checked = 0;
    for (QLabel* label : top->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(top) || label->text().isEmpty() ||
            label->pixmap().toImage().width())
            continue;
        const QRect area(label->mapTo(top, QPoint(0, 0)), label->size());
        const QColor text = label->palette().color(label->foregroundRole());
        const QColor behind = backgroundOf(
            picture.copy(area.intersected(picture.rect())).convertToFormat(QImage::Format_RGB32));
        EXPECT_GE(contrast(text, behind), 4.5)
            << where << ": " << label->objectName().toStdString() << " "
            << text.name().toStdString() << " on " << behind.name().toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 0) << where;
}

TEST(Readability, EveryLabelAndAlertOfTheMainWindowHasEnoughContrast)
{
    VXLApplication application;
    CustomWindow* window = application.delegate().window();
    window->resize(1020, 640 + window->menuBar()->sizeHint().height());
    window->show();
    QCoreApplication::processEvents();

    for (bool fullScreen : {false, true}) {
        window->setIsFullScreen(fullScreen);
        QCoreApplication::processEvents();
        expectReadableLabels(window, window->grab().toImage(),
                             fullScreen ? "full screen" : "window");
    }
    window->setIsFullScreen(false);

    QMessageBox* alert = nullptr;
    setAlertHookForTesting([&](QMessageBox* box) { alert = box; });
    showAlertSheet(window, QStringLiteral("This recording cannot be played."),
                   QStringLiteral("alwa_20230415_093012_F.MP4"));
    setAlertHookForTesting({});
    ASSERT_NE(alert, nullptr);
    QCoreApplication::processEvents();
    expectReadableLabels(alert, alert->grab().toImage(), "alert");
    alert->accept();
}

} // namespace
