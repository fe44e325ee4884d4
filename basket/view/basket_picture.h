// The basket's picture, drawn rather than loaded: a glossy blue tile with a wicker basket,
// the quick-folder mark at the top left and the settings mark at the top right; and the
// tray images (the basket alone, or with a green clock while automatic checks run).
// Painting only.
#pragma once

#include <QIcon>
#include <QRect>

class QPainter;

namespace vandrel {

class BasketPicture {
  public:
    // Paints the tile of side pixels at (0, 0); dimmed when not taking drops.
    static void paint(QPainter& p, int side, bool enabled);
    // The basket alone inside r.
    static void paintBasket(QPainter& p, const QRectF& r);
    // Where the status text, the quick-folder mark and the settings mark sit.
    static QRect statusRect(int side);
    static QRect quickFolderRect(int side);
    static QRect settingRect(int side);
    // The tray image: standard, or "automatic" (checks active).
    static QIcon trayIcon(bool automatic);
};

}  // namespace vandrel
