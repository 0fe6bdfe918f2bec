#include "GalleryWindow.h"

#include "GalleryLedPage.h"
#include "GalleryShowcase.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>

namespace gallery {

GalleryWindow::GalleryWindow(const QString& resolutionFolder) {
    setWindowTitle(QStringLiteral("Skin gallery - %1").arg(resolutionFolder));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0x14, 0x16, 0x1B));
    setPalette(background);
    setAutoFillBackground(true);

    // The page is a child page: it loads its skin while it is created and sizes itself to its picture.
    auto* host = new QWidget(this);
    page_ = new GalleryLedPage(resolutionFolder);
    page_->CreateSkinPage(host, skin::CBaseDlg::kChildTemplate);
    // Child pages are created hidden; the gallery shows its page at once.
    page_->show();
    host->setFixedSize(page_->size());
    showcase_ = new GalleryShowcase(resolutionFolder, this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(16);
    layout->addWidget(host, 0, Qt::AlignTop);
    layout->addWidget(showcase_, 0, Qt::AlignTop);
}

GalleryWindow::~GalleryWindow() = default;

void GalleryWindow::OpenEditor() { page_->OpenRedEditor(); }

bool GalleryWindow::SaveScreenshot(const QString& file) {
    QImage picture = grab().toImage();
    // Pop-ups (the in-place editor) are windows of their own: paint each visible one at its place.
    QPainter painter(&picture);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top == this || !top->isVisible() || !(top->windowFlags() & Qt::Popup)) continue;
        painter.drawImage(mapFromGlobal(top->mapToGlobal(QPoint(0, 0))), top->grab().toImage());
    }
    painter.end();
    return picture.save(file, "PNG");
}

}  // namespace gallery
