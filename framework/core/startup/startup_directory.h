// The file layer's part of start-up and shutdown: the file-access table,
// the archives and the start-up directory.
#pragma once

// Installs the default file-access table, releases unused archives and
// records the current directory as the start-up directory (and as the log
// folder when none is set).
void PrepareFileLayer();
// Goes back to the start-up directory and closes the archives.
void RestoreFileLayer();
