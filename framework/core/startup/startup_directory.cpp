#include "core/startup/startup_directory.h"

#include "core/files/file_access_table.h"
#include "core/base/log_file.h"
#include "core/files/vfs_archive_table.h"
#include "core/window/window_system_state.h"

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
