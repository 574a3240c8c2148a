#pragma once

class QString;

namespace nimbrel {

class MainWindow;

// A path named from outside the window, on the command line or by a drop: a file opens
// through the open sequence, a folder shows the file panel in that folder.
void openNamedPath(MainWindow& window, const QString& path);

// Files and folders dropped on the window from a file manager open as openNamedPath does.
void acceptDroppedFiles(MainWindow& window);

} // namespace nimbrel
