// Small numeric routines: truncating conversions, 4x4 matrices in the
// row-vector convention (translation in the fourth row), 3D vectors,
// rectangle clipping and 128-bit arithmetic for scaling clock counters.
#pragma once

#include <cstdint>

#include "platform/wintypes.h"

struct U128 {
  std::uint64_t low;
  std::uint64_t high;
};

// m[r][c]: row r, column c (index 4r + c).
struct Matrix4 {
  float m[4][4];
};

struct Vector3 {
  float x;
  float y;
  float z;
};

void SinCosF(float angle, float* sine, float* cosine);
int AbsInt(int value);
float AbsFloat(float value);
// Conversions truncate toward zero whatever the rounding mode.
int FloatToInt(float value);
int DoubleToInt(double value);
void Double4ToInt4(const double in[4], int out[4]);
float SqrtF(float value);
float PowF(float base, float exponent);

void MultiplyU64To128(std::uint64_t a, std::uint64_t b, U128* product);
// Stores the low 64 bits of the quotient; -1 (quotient 0) for a zero divisor.
int DivideU128ByU64(const U128* dividend, std::uint64_t divisor, std::uint64_t* quotient);

void MatrixIdentity(Matrix4* out);
// out = a x b; out may be a or b.
void MatrixMultiply(Matrix4* out, const Matrix4* a, const Matrix4* b);
void MatrixTranspose(Matrix4* out, const Matrix4* in);
// -1 (out untouched) when singular.
int MatrixInverse(Matrix4* out, const Matrix4* in);
// Left-handed; an aspect below 0 means the screen's height / width.
int MatrixPerspective(Matrix4* out, float fieldOfView, float nearZ, float farZ, float aspect);
int MatrixOrtho(Matrix4* out, float size, float nearZ, float farZ, float aspect);
void MatrixViewport(Matrix4* out, float x, float y, float width, float height);
void MatrixLookAt(Matrix4* out, const Vector3* eye, const Vector3* target, const Vector3* up);

// Divide by the length without a zero check.
void VectorNormalize(Vector3* out, const Vector3* in);
Vector3* VectorNormalizeXYZ(Vector3* out, float x, float y, float z);
float VectorDot(const Vector3* a, const Vector3* b);
// (x, y, z, 1) x matrix, first three components, no division by w.
void VectorTransform(Vector3* out, const Vector3* in, const Matrix4* matrix);

// Clips the rectangle in place against the clip rectangle; returns 0.
int ClipRect(RECT* rect, const RECT* clip);
