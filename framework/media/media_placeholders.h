// Movie entry points the core calls, standing until the media subsystem is
// built.
#pragma once

void BuildYuvToRgbTables();
void PauseAllMovies();
void ResumeAllMovies();
void DrawAllMoviesToWindow();
