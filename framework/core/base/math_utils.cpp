#include "core/base/math_utils.h"

#include <cmath>
#include <limits>

#include "WqLib.h"

namespace {

constexpr float kEpsilon = 0.0001f;

float ScreenAspect() {
  int width = 0, height = 0;
  GetScreenSize(&width, &height);
  return static_cast<float>(height) / static_cast<float>(width);
}

void MatrixZero(Matrix4* out) { *out = Matrix4{}; }

LONG Clamp(LONG value, LONG low, LONG high) { return value < low ? low : (value > high ? high : value); }

// Truncates toward zero (the C++ conversion never consults the rounding
// mode); values outside the int range give INT_MIN, as the processor's own
// conversion does, instead of undefined behaviour.
template <typename Real>
int TruncateToInt(Real value) {
  constexpr Real kLimit = static_cast<Real>(2147483648.0);
  if (!(value > -kLimit - 1 && value < kLimit)) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

Vector3 Cross(const Vector3& a, const Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

void SinCosF(float angle, float* sine, float* cosine) {
  *sine = std::sin(angle);
  *cosine = std::cos(angle);
}

// INT_MIN stays INT_MIN instead of overflowing.
int AbsInt(int value) { return value < 0 ? static_cast<int>(0u - static_cast<unsigned>(value)) : value; }
float AbsFloat(float value) { return std::fabs(value); }

int FloatToInt(float value) { return TruncateToInt(value); }
int DoubleToInt(double value) { return TruncateToInt(value); }

void Double4ToInt4(const double in[4], int out[4]) {
  for (int i = 0; i < 4; ++i) out[i] = DoubleToInt(in[i]);
}

float SqrtF(float value) { return std::sqrt(value); }

float PowF(float base, float exponent) {
  return static_cast<float>(std::pow(static_cast<double>(base), static_cast<double>(exponent)));
}

void MultiplyU64To128(std::uint64_t a, std::uint64_t b, U128* product) {
  const unsigned __int128 full = static_cast<unsigned __int128>(a) * b;
  product->low = static_cast<std::uint64_t>(full);
  product->high = static_cast<std::uint64_t>(full >> 64);
}

int DivideU128ByU64(const U128* dividend, std::uint64_t divisor, std::uint64_t* quotient) {
  if (divisor == 0) {
    *quotient = 0;
    return -1;
  }
  const unsigned __int128 value = (static_cast<unsigned __int128>(dividend->high) << 64) | dividend->low;
  *quotient = static_cast<std::uint64_t>(value / divisor);
  return 0;
}

void MatrixIdentity(Matrix4* out) {
  MatrixZero(out);
  for (int i = 0; i < 4; ++i) out->m[i][i] = 1.0f;
}

void MatrixMultiply(Matrix4* out, const Matrix4* a, const Matrix4* b) {
  Matrix4 product;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      product.m[r][c] = a->m[r][0] * b->m[0][c] + a->m[r][1] * b->m[1][c] + a->m[r][2] * b->m[2][c] +
                        a->m[r][3] * b->m[3][c];
    }
  }
  *out = product;
}

void MatrixTranspose(Matrix4* out, const Matrix4* in) {
  Matrix4 transposed;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) transposed.m[r][c] = in->m[c][r];
  }
  *out = transposed;
}

int MatrixInverse(Matrix4* out, const Matrix4* in) {
  const auto& a = in->m;
  // 2x2 minors of the upper two rows (s) and the lower two rows (c).
  const float s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
  const float s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
  const float s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
  const float s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
  const float s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
  const float s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
  const float c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
  const float c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
  const float c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
  const float c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
  const float c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
  const float c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];
  const float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
  if (det > -1e-7f && det < 1e-7f) return -1;
  const float k = 1.0f / det;
  Matrix4 inverse;
  auto& b = inverse.m;
  b[0][0] = (a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3) * k;
  b[0][1] = (-a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3) * k;
  b[0][2] = (a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3) * k;
  b[0][3] = (-a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3) * k;
  b[1][0] = (-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1) * k;
  b[1][1] = (a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1) * k;
  b[1][2] = (-a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1) * k;
  b[1][3] = (a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1) * k;
  b[2][0] = (a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0) * k;
  b[2][1] = (-a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0) * k;
  b[2][2] = (a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0) * k;
  b[2][3] = (-a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0) * k;
  b[3][0] = (-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0) * k;
  b[3][1] = (a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0) * k;
  b[3][2] = (-a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0) * k;
  b[3][3] = (a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0) * k;
  *out = inverse;
  return 0;
}

int MatrixPerspective(Matrix4* out, float fieldOfView, float nearZ, float farZ, float aspect) {
  if (aspect < 0.0f) aspect = ScreenAspect();
  float s = 0.0f, c = 0.0f;
  SinCosF(fieldOfView * 0.5f, &s, &c);
  if (AbsFloat(farZ - nearZ) < kEpsilon || AbsFloat(s) < kEpsilon) return -1;
  const float cot = c / s;
  MatrixZero(out);
  out->m[0][0] = aspect * cot;
  out->m[1][1] = cot;
  out->m[2][2] = farZ / (farZ - nearZ);
  out->m[2][3] = 1.0f;
  out->m[3][2] = -out->m[2][2] * nearZ;
  return 0;
}

int MatrixOrtho(Matrix4* out, float size, float nearZ, float farZ, float aspect) {
  if (aspect < 0.0f) aspect = ScreenAspect();
  if (AbsFloat(nearZ - farZ) < kEpsilon) return -1;
  const float width = size / aspect;
  MatrixZero(out);
  out->m[0][0] = 2.0f / width;
  out->m[1][1] = 2.0f / size;
  out->m[2][2] = 1.0f / (farZ - nearZ);
  out->m[3][2] = nearZ / (nearZ - farZ);
  out->m[3][3] = 1.0f;
  return 0;
}

void MatrixViewport(Matrix4* out, float x, float y, float width, float height) {
  MatrixZero(out);
  out->m[0][0] = width * 0.5f;
  out->m[1][1] = -height * 0.5f;
  out->m[2][2] = 1.0f;
  out->m[3][0] = x;
  out->m[3][1] = y;
  out->m[3][3] = 1.0f;
}

void MatrixLookAt(Matrix4* out, const Vector3* eye, const Vector3* target, const Vector3* up) {
  Vector3 z{target->x - eye->x, target->y - eye->y, target->z - eye->z};
  VectorNormalize(&z, &z);
  Vector3 x = Cross(*up, z);
  VectorNormalize(&x, &x);
  Vector3 y = Cross(z, x);
  VectorNormalize(&y, &y);
  const Vector3 axes[3] = {x, y, z};
  MatrixZero(out);
  for (int column = 0; column < 3; ++column) {
    out->m[0][column] = axes[column].x;
    out->m[1][column] = axes[column].y;
    out->m[2][column] = axes[column].z;
    out->m[3][column] = -VectorDot(&axes[column], eye);
  }
  out->m[3][3] = 1.0f;
}


void VectorNormalize(Vector3* out, const Vector3* in) {
  VectorNormalizeXYZ(out, in->x, in->y, in->z);
}

Vector3* VectorNormalizeXYZ(Vector3* out, float x, float y, float z) {
  const float length = SqrtF(x * x + y * y + z * z);
  *out = {x / length, y / length, z / length};
  return out;
}

float VectorDot(const Vector3* a, const Vector3* b) { return a->x * b->x + a->y * b->y + a->z * b->z; }

void VectorTransform(Vector3* out, const Vector3* in, const Matrix4* matrix) {
  const auto& m = matrix->m;
  const Vector3 v = *in;
  *out = {v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0] + m[3][0],
          v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1] + m[3][1],
          v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2] + m[3][2]};
}

int ClipRect(RECT* rect, const RECT* clip) {
  if (rect->right < rect->left) rect->right = rect->left;
  if (rect->bottom < rect->top) rect->bottom = rect->top;
  rect->bottom = Clamp(rect->bottom, clip->top, clip->bottom);
  rect->top = Clamp(rect->top, clip->top, clip->bottom);
  rect->right = Clamp(rect->right, clip->left, clip->right);
  rect->left = Clamp(rect->left, clip->left, clip->right);
  return 0;
}
