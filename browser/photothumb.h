#pragma once

// What the photo table keeps of a received photo: never the photo itself, only
// the cell icon as pixels and the preview as a small JPEG. Pure functions,
// used by the window's thumbnail code and tested without a window.

#include <QByteArray>
#include <QBitArray>
#include <QImage>
#include <QSize>
#include <QStringList>

namespace browser {

// A photo whose header declares more pixels than this is not decoded at all
// (it gets the fallback icon): no camera makes one, and a crafted header must
// not make the program allocate gigabytes.
constexpr qint64 MaxPhotoPixels = 100LL * 1000 * 1000;
// The icon fits the photo table's icon size; the preview fits the preview
// list of the results page.
constexpr int PhotoIconSide = 56;
constexpr int PhotoPreviewSide = 300;
constexpr int PhotoPreviewQuality = 85;

struct PhotoThumbnail
{
    enum Status {
        Decoded,    // icon and preview made
        NotAnImage, // no known image format, or the data is broken
        TooLarge,   // the header declares more than MaxPhotoPixels
    };
    Status status = NotAnImage;
    QImage icon;        // fits PhotoIconSide x PhotoIconSide
    QByteArray preview; // JPEG, fits PhotoPreviewSide x PhotoPreviewSide
    QSize declaredSize; // as the photo's header gives it
    bool fromExif = false; // made from the thumbnail the camera stored in the photo
};

// Decodes a photo (JPEG, PNG or BMP, told by its content) only at the size
// shown: a JPEG's own Exif thumbnail when it is large enough for the preview
// and of the photo's proportions, otherwise the photo decoded at the preview
// size (which a JPEG decoder does at a fraction of the full cost).
PhotoThumbnail makePhotoThumbnail(const QByteArray &data);

// The JPEG thumbnail a camera stores in the Exif block (APP1) of a JPEG, or
// empty when there is none. Offsets are followed only inside the block.
QByteArray exifThumbnail(const QByteArray &jpeg);

// The preview image of stored preview bytes (null when there are none).
QImage previewImage(const QByteArray &preview);

// Which photo to ask for next: the photo of a row scrolled into view that has
// not been asked for (rows firstVisibleRow..lastVisibleRow of the table, row r
// showing entry r - 1; pass -1, -1 when the table is not showing), else the
// first entry from *cursor on that has not been asked for. An entry without a
// location is never asked for. Returns the entry's index, or -1 when there is
// nothing left to ask for; *cursor moves past the entries dealt with.
int nextPhotoToAsk(const QStringList &dirEntries, const QBitArray &asked, int firstVisibleRow,
                   int lastVisibleRow, int *cursor);

} // namespace browser
