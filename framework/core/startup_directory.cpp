#include "startup_directory.h"

#include "file_access_table.h"
#include "log_file.h"
#include "vfs_archive_table.h"
#include "window_system_state.h"

void PrepareFileLayer() {
  CleanupArchives();
  SetupFileAccessTable(nullptr);
  char* directory = WindowSystem().startupDirectory;
  GetFileAccessTable()->getCurrentDir(directory);
  if (GetLogFolder()[0] == '\0') SetLogFolder(directory);
}

void RestoreFileLayer() {
  GetFileAccessTable()->setCurrentDir(WindowSystem().startupDirectory);
  CleanupArchives();
}
