// The editor's pictures, drawn once: the toolbar list (11 pictures of 16 × 16),
// the tree's node pictures (4 of 18 × 18) and its state pictures (2 of 18 × 18).
#pragma once

#include <QIcon>
#include <QList>

// 0 new, 1 open, 2 save, 3 edit, 4 add, 5 add child, 6 delete, 7 preview,
// 8 expand, 9 about, 10 level calculator.
QList<QIcon> ToolbarPictures();
// 0 a stack of folders, 1 a closed folder, 2 an open folder with a downward
// arrow, 3 a document page.
QList<QIcon> TreePictures();
// 0 unticked, 1 ticked.
QList<QIcon> StatePictures();
