#include "core/base/math_utils.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <climits>
#include <cmath>

#include "WqLib.h"

namespace {

Matrix4 MakeMatrix(std::initializer_list<float> values) {
  Matrix4 m{};
  int i = 0;
  for (float v : values) {
    m.m[i / 4][i % 4] = v;
    ++i;
  }
  return m;
}

void ExpectMatrixNear(const Matrix4& actual, const Matrix4& expected, float tolerance) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual.m[r][c], expected.m[r][c], tolerance) << r << "," << c;
  }
}

Matrix4 Identity() {
  Matrix4 m;
  MatrixIdentity(&m);
  return m;
}

TEST(MathUtilsTest, ConversionsTruncateUnderEveryRoundingMode) {
  const int saved = std::fegetround();
  for (const int mode : {FE_TONEAREST, FE_DOWNWARD, FE_UPWARD, FE_TOWARDZERO}) {
    std::fesetround(mode);
    EXPECT_EQ(FloatToInt(-2.7f), -2);
    EXPECT_EQ(FloatToInt(2.7f), 2);
    EXPECT_EQ(DoubleToInt(-2.5), -2);
    EXPECT_EQ(DoubleToInt(1e9 + 0.9), 1000000000);
    const double in[4] = {1.9, -1.9, 0.5, -0.5};
    int out[4];
    Double4ToInt4(in, out);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], -1);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(std::fegetround(), mode) << "the rounding mode must be left as it was";
  }
  std::fesetround(saved);
  // Out of range and NaN give the processor's "integer indefinite".
  EXPECT_EQ(FloatToInt(3e9f), INT_MIN);
  EXPECT_EQ(DoubleToInt(-3e9), INT_MIN);
  EXPECT_EQ(DoubleToInt(std::nan("")), INT_MIN);
  EXPECT_EQ(DoubleToInt(-2147483648.9), INT_MIN);
  EXPECT_EQ(DoubleToInt(2147483647.9), INT_MAX);
}

TEST(MathUtilsTest, ScalarHelpersAgreeWithTheLibrary) {
  EXPECT_EQ(AbsInt(-7), 7);
  EXPECT_EQ(AbsInt(7), 7);
  EXPECT_EQ(AbsInt(INT_MIN), INT_MIN);
  EXPECT_EQ(AbsFloat(-1.5f), 1.5f);
  EXPECT_FLOAT_EQ(SqrtF(2.0f), std::sqrt(2.0f));
  EXPECT_FLOAT_EQ(PowF(2.0f, 10.0f), 1024.0f);
  EXPECT_FLOAT_EQ(PowF(9.0f, 0.5f), 3.0f);
  float s = 0, c = 0;
  SinCosF(0.7f, &s, &c);
  EXPECT_FLOAT_EQ(s, std::sin(0.7f));
  EXPECT_FLOAT_EQ(c, std::cos(0.7f));
}

TEST(MathUtilsTest, WideArithmeticMatchesNative128Bit) {
  const std::uint64_t values[] = {0, 1, 2, 0xFFFFFFFFull, 0x100000000ull, 0x123456789ABCDEFull, ~0ull};
  for (std::uint64_t a : values) {
    for (std::uint64_t b : values) {
      U128 product{};
      MultiplyU64To128(a, b, &product);
      const unsigned __int128 expected = static_cast<unsigned __int128>(a) * b;
      EXPECT_EQ(product.low, static_cast<std::uint64_t>(expected));
      EXPECT_EQ(product.high, static_cast<std::uint64_t>(expected >> 64));
    }
  }
  struct Case {
    U128 dividend;
    std::uint64_t divisor;
    std::uint64_t quotient;
  };
  const Case cases[] = {
      {{5, 1}, 2, (1ull << 63) + 2},              // 2^64 + 5 over 2
      {{0, 0}, 7, 0},
      {{999, 0}, 1000, 0},
      {{~0ull, 0}, 1, ~0ull},
      {{0x5F5E1000000000ull, 0x3}, 10000000, 0x5091D7D0360ull},
      {{0, 5}, 2, 1ull << 63},  // the quotient needs 66 bits: its low 64 are kept
  };
  for (const Case& c : cases) {
    std::uint64_t quotient = 123;
    EXPECT_EQ(DivideU128ByU64(&c.dividend, c.divisor, &quotient), 0);
    EXPECT_EQ(quotient, c.quotient) << c.dividend.high << ":" << c.dividend.low << " / " << c.divisor;
  }
  std::uint64_t quotient = 123;
  const U128 one{1, 0};
  EXPECT_EQ(DivideU128ByU64(&one, 0, &quotient), -1);
  EXPECT_EQ(quotient, 0u);
}

TEST(MathUtilsTest, MultiplyAndInverseComposeToIdentity) {
  const Matrix4 a = MakeMatrix({2, 0, 1, 0, 1, 3, 0, 0, 0, 1, 4, 0, 5, -2, 1, 1});
  Matrix4 inverse;
  ASSERT_EQ(MatrixInverse(&inverse, &a), 0);
  Matrix4 product;
  MatrixMultiply(&product, &a, &inverse);
  ExpectMatrixNear(product, Identity(), 1e-5f);

  // A row-major product computed by hand: row 0 of a times each column of b.
  const Matrix4 b = MakeMatrix({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
  MatrixMultiply(&product, &a, &b);
  EXPECT_FLOAT_EQ(product.m[0][0], 2 * 1 + 0 * 5 + 1 * 9 + 0 * 13);
  EXPECT_FLOAT_EQ(product.m[3][2], 5 * 3 - 2 * 7 + 1 * 11 + 1 * 15);

  // The output may alias an input.
  Matrix4 aliased = a;
  MatrixMultiply(&aliased, &aliased, &b);
  ExpectMatrixNear(aliased, product, 0.0f);

  Matrix4 transposed = b;
  MatrixTranspose(&transposed, &transposed);
  EXPECT_EQ(transposed.m[0][3], 13.0f);
  EXPECT_EQ(transposed.m[3][0], 4.0f);
}

TEST(MathUtilsTest, SingularMatricesLeaveTheOutputUntouched) {
  const Matrix4 zero{};
  const Matrix4 rankThree = MakeMatrix({1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 0, 0, 0, 1, 0});
  for (const Matrix4* singular : {&zero, &rankThree}) {
    Matrix4 out = Identity();
    EXPECT_EQ(MatrixInverse(&out, singular), -1);
    ExpectMatrixNear(out, Identity(), 0.0f);
  }
}

TEST(MathUtilsTest, PerspectiveAndOrthoFollowTheLeftHandedLayout) {
  Matrix4 m;
  ASSERT_EQ(MatrixPerspective(&m, 3.14159265f / 2, 1.0f, 101.0f, 0.75f), 0);
  EXPECT_NEAR(m.m[0][0], 0.75f, 1e-6f);  // cot(45 degrees) = 1
  EXPECT_NEAR(m.m[1][1], 1.0f, 1e-6f);
  EXPECT_NEAR(m.m[2][2], 101.0f / 100.0f, 1e-6f);
  EXPECT_EQ(m.m[2][3], 1.0f);
  EXPECT_NEAR(m.m[3][2], -1.01f, 1e-6f);
  EXPECT_EQ(m.m[3][3], 0.0f);
  EXPECT_EQ(MatrixPerspective(&m, 1.0f, 5.0f, 5.0f, 1.0f), -1);
  EXPECT_EQ(MatrixPerspective(&m, 0.0f, 1.0f, 5.0f, 1.0f), -1);

  // A negative aspect takes the screen's height / width, as the screen-size
  // query answers it: 720 / 1280 here.
  ASSERT_EQ(SetScreenMode(1280, 720, 32, 60), 0);
  ASSERT_EQ(MatrixPerspective(&m, 3.14159265f / 2, 1.0f, 101.0f, -1.0f), 0);
  EXPECT_NEAR(m.m[0][0], 0.5625f, 1e-6f);
  ASSERT_EQ(MatrixOrtho(&m, 10.0f, 0.0f, 4.0f, -1.0f), 0);
  EXPECT_NEAR(m.m[0][0], 2.0f / (10.0f / 0.5625f), 1e-6f);  // w = size / aspect
  EXPECT_NEAR(m.m[1][1], 0.2f, 1e-6f);
  EXPECT_NEAR(m.m[2][2], 0.25f, 1e-6f);
  EXPECT_EQ(m.m[3][2], 0.0f);
  EXPECT_EQ(m.m[3][3], 1.0f);
  EXPECT_EQ(MatrixOrtho(&m, 10.0f, 2.0f, 2.00001f, 1.0f), -1);
}

TEST(MathUtilsTest, ViewportAndLookAtMapPointsAsExpected) {
  Matrix4 viewport;
  MatrixViewport(&viewport, 320.0f, 240.0f, 640.0f, 480.0f);
  Vector3 corner{1.0f, 1.0f, 0.5f};
  Vector3 mapped;
  VectorTransform(&mapped, &corner, &viewport);
  EXPECT_FLOAT_EQ(mapped.x, 640.0f);
  EXPECT_FLOAT_EQ(mapped.y, 0.0f);
  EXPECT_FLOAT_EQ(mapped.z, 0.5f);

  // Looking from (0, 0, -10) at the origin: the target lies on +z at
  // distance 10, and +x stays +x.
  const Vector3 eye{0, 0, -10}, target{0, 0, 0}, up{0, 1, 0};
  Matrix4 view;
  MatrixLookAt(&view, &eye, &target, &up);
  Vector3 t;
  VectorTransform(&t, &target, &view);
  EXPECT_NEAR(t.x, 0.0f, 1e-6f);
  EXPECT_NEAR(t.y, 0.0f, 1e-6f);
  EXPECT_NEAR(t.z, 10.0f, 1e-5f);
  const Vector3 right{1, 0, 0};
  VectorTransform(&t, &right, &view);
  EXPECT_NEAR(t.x, 1.0f, 1e-6f);

  // From the side: the eye on +x looking back at the origin.
  const Vector3 sideEye{10, 0, 0};
  MatrixLookAt(&view, &sideEye, &target, &up);
  const Vector3 above{0, 3, 0};
  VectorTransform(&t, &above, &view);
  EXPECT_NEAR(t.y, 3.0f, 1e-5f);
  EXPECT_NEAR(t.z, 10.0f, 1e-5f);
}

TEST(MathUtilsTest, VectorsNormaliseAndDot) {
  Vector3 n;
  EXPECT_EQ(VectorNormalizeXYZ(&n, 3, 0, 4), &n);
  EXPECT_FLOAT_EQ(n.x, 0.6f);
  EXPECT_FLOAT_EQ(n.z, 0.8f);
  const Vector3 v{0, -2, 0};
  VectorNormalize(&n, &v);
  EXPECT_FLOAT_EQ(n.y, -1.0f);
  const Vector3 a{1, 2, 3}, b{4, -5, 6};
  EXPECT_FLOAT_EQ(VectorDot(&a, &b), 12.0f);
}

TEST(MathUtilsTest, ClipRectClampsIntoTheClipArea) {
  struct Case {
    RECT rect;
    RECT clip;
    RECT expected;
  };
  const Case cases[] = {
      {{50, 50, 10, 10}, {0, 0, 100, 100}, {50, 50, 50, 50}},
      {{-20, -30, 150, 160}, {0, 0, 100, 100}, {0, 0, 100, 100}},
      {{10, 20, 30, 40}, {0, 0, 100, 100}, {10, 20, 30, 40}},
      {{200, 200, 300, 300}, {0, 0, 100, 100}, {100, 100, 100, 100}},
      {{-50, 5, -10, 8}, {0, 0, 100, 100}, {0, 5, 0, 8}},
  };
  for (const Case& c : cases) {
    RECT r = c.rect;
    EXPECT_EQ(ClipRect(&r, &c.clip), 0);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }
}

}  // namespace
