// The 3D model runtime's entry points that start-up and shutdown call,
// standing until the model runtime is built: there are no models to set up.
#pragma once

int InitModelSystem();
int TerminateModelSystem();
