#pragma once

#include <QString>
#include <QStringList>

// Finds links on the way to what an install or a repair writes into the game folder. A player
// may have moved a folder elsewhere and linked it back; writing through that link would land
// wherever it points, so such a path is damage the player resolves, never a place to write.
class GameFolderLinks
{
public:
    // The first folder on the way to one of the items (paths with "/" below folder) that is a
    // link or a Windows junction, as an absolute path; empty when there is none. The items
    // themselves may be links: they are replaced as entries, never written through.
    static QString firstLink(const QString &folder, const QStringList &items);
};
