#pragma once
#include <QIcon>
#include <QPixmap>

#include <array>

#include "tree/NodeKind.h"

// The pictures of the objects tree, drawn by the program itself: the two overlays that mark a
// cut (0) or copied (1) node, and the pictures of the node kinds (KindImageIndex). The icon of a
// marked node is its picture with the overlay drawn over it.
class TTreeImages {
public:
    static constexpr int kSize = 16;

    TTreeImages();   // needs a QGuiApplication

    const QPixmap& Image(int index) const;   // the folder picture for an index out of range
    // The picture with the overlay over it (kNoOverlay: the plain picture).
    const QIcon& Icon(int image, int overlay) const;
    const QIcon& KindIcon(int kind, int overlay) const { return Icon(KindImageIndex(kind), overlay); }

    static QPixmap Compose(const QPixmap& base, const QPixmap& overlay);

private:
    std::array<QPixmap, kImageCount> images_;
    // Per picture: plain, with the cut overlay, with the copy overlay.
    std::array<std::array<QIcon, 3>, kImageCount> icons_;
};
