// Graphs across a device rebuild: their device objects released with the
// old device and made anew on the next, and their pixels put back from
// their files or from the picture they keep.
#pragma once

// Releases the Direct3D objects of every graph, vertex buffer, index
// buffer and shader handle; the records stay.
void ReleaseAllGraphTextures();
// After a reset or a new device: textures of every graph, then the vertex,
// index and shader objects. 0.
int RecreateDeviceObjects();
// Puts every graph that has a file name back from its file; a run of
// graphs from one file (with one load flag) reads it once.
void RestoreGraphsFromFiles();
// Puts back the pictures that graphs made from base images keep.
void RestoreKeptGraphPictures();
// After the device is gone for good: every graph image becomes a MEMIMG of
// the software screen, its pixels to be restored.
void MoveGraphImagesToMemory();
