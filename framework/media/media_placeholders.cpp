#include "media/media_placeholders.h"

void BuildYuvToRgbTables() {}
void PauseAllMovies() {}
void ResumeAllMovies() {}
void DrawAllMoviesToWindow() {}
