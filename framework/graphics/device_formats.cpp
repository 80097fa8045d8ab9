// The formats a new device works in: the screen's, the depth buffer's and
// the table of texture and render-target formats, each the first the
// adapter accepts from a list of preferences, each logged.
#include "graphics/graphics_start.h"

namespace {

const char* ScreenFormatName(D_D3DFORMAT format) {
  switch (format) {
    case D_D3DFMT_X8R8G8B8:
      return "D3DFMT_X8R8G8B8";
    case D_D3DFMT_R5G6B5:
      return "D3DFMT_R5G6B5";
    case D_D3DFMT_X1R5G5B5:
      return "D3DFMT_X1R5G5B5";
    default:
      return nullptr;
  }
}

const char* TextureFormatName(D_D3DFORMAT format) {
  switch (format) {
    case D_D3DFMT_R5G6B5:
      return "D_D3DFMT_R5G6B5";
    case D_D3DFMT_X1R5G5B5:
      return "D_D3DFMT_X1R5G5B5";
    case D_D3DFMT_X8R8G8B8:
      return "D_D3DFMT_X8R8G8B8";
    case D_D3DFMT_A4R4G4B4:
      return "D_D3DFMT_A4R4G4B4";
    case D_D3DFMT_A8R8G8B8:
      return "D_D3DFMT_A8R8G8B8";
    case D_D3DFMT_A1R5G5B5:
      return "D_D3DFMT_A1R5G5B5";
    default:
      return "";
  }
}

// The first of `count` formats the adapter accepts for the usage, or
// unknown.
D_D3DFORMAT FirstAccepted(DWORD usage, const D_D3DFORMAT* formats, int count) {
  const GraphicsState& g = Graphics();
  for (int i = 0; i < count; ++i)
    if (SUCCEEDED(g.direct3d->CheckDeviceFormat(D_D3DADAPTER_DEFAULT, D_D3DDEVTYPE_HAL, g.screenFormat, usage,
                                                D_D3DRTYPE_TEXTURE, formats[i])))
      return formats[i];
  return D_D3DFMT_UNKNOWN;
}

struct TextureChoice {
  TextureFormatSlot slot;
  D_D3DFORMAT tried[3];
  int count;
  const char* missingLog;  // null: falls back to `fallback`
  TextureFormatSlot fallback;
  const char* foundLog;
};

// The rows in the order they are chosen; a later row may fall back to an
// earlier one.
constexpr TextureChoice kTextureChoices[] = {
    {kTexFormat16,
     {D_D3DFMT_R5G6B5, D_D3DFMT_X1R5G5B5},
     2,
     "使用できる 16bit カラーフォーマットが見つかりませんでした\n",
     kTexFormat16,
     "16bit カラーフォーマットは %s です"},
    {kTexFormat32, {D_D3DFMT_X8R8G8B8}, 1, nullptr, kTexFormat16, "32bit カラーフォーマットは %s です"},
    {kTexFormatAlpha16,
     {D_D3DFMT_A4R4G4B4, D_D3DFMT_A8R8G8B8},
     2,
     "使用できるアルファ付き 16bit カラーフォーマットが見つかりませんでした\n",
     kTexFormatAlpha16,
     "アルファ付き 16bit カラーフォーマットは %s です"},
    {kTexFormatAlpha32,
     {D_D3DFMT_A8R8G8B8, D_D3DFMT_A4R4G4B4},
     2,
     "使用できるアルファ付き 32bit カラーフォーマットが見つかりませんでした\n",
     kTexFormatAlpha32,
     "アルファ付き 32bit カラーフォーマットは %s です"},
    {kTexFormatAlphaTest16,
     {D_D3DFMT_A1R5G5B5, D_D3DFMT_A8R8G8B8, D_D3DFMT_A4R4G4B4},
     3,
     "使用できるアルファテスト用 16bit カラーフォーマットが見つかりませんでした\n",
     kTexFormatAlphaTest16,
     "アルファテスト用 16bit カラーフォーマットは %s です"},
    {kTexFormatAlphaTest32,
     {D_D3DFMT_A8R8G8B8, D_D3DFMT_A1R5G5B5, D_D3DFMT_A4R4G4B4},
     3,
     "使用できるアルファテスト用 32bit カラーフォーマットが見つかりませんでした\n",
     kTexFormatAlphaTest32,
     "アルファテスト用 32bit カラーフォーマットは %s です"},
};

struct DxtChoice {
  TextureFormatSlot slot;
  D_D3DFORMAT format;
  TextureFormatSlot fallback;
  const char* log;
  const char* name;
};

constexpr DxtChoice kDxtChoices[] = {
    {kTexFormatDxt1, D_D3DFMT_DXT1, kTexFormatAlphaTest16, "ＤＸＴ１テクスチャフォーマットは%s", " D_D3DFMT_DXT1 です"},
    {kTexFormatDxt2, D_D3DFMT_DXT2, kTexFormatAlpha32, "ＤＸＴ２テクスチャフォーマットは%s", " D_D3DFMT_DXT2 です"},
    {kTexFormatDxt3, D_D3DFMT_DXT3, kTexFormatAlpha32, "ＤＸＴ３テクスチャフォーマットは%s", " D_D3DFMT_DXT3 です"},
    {kTexFormatDxt4, D_D3DFMT_DXT4, kTexFormatAlpha32, "ＤＸＴ４テクスチャフォーマットは%s", " D_D3DFMT_DXT4 です"},
    {kTexFormatDxt5, D_D3DFMT_DXT5, kTexFormatAlpha32, "ＤＸＴ５テクスチャフォーマットは%s", " D_D3DFMT_DXT5 です"},
};

int ChooseScreenAndDepthFormats() {
  GraphicsState& g = Graphics();
  D_D3DSURFACE_DESC desc{};
  g.backBuffer->GetDesc(&desc);
  g.screenFormat = desc.Format;
  if (const char* name = ScreenFormatName(g.screenFormat))
    LogWriteFormat("画面のフォーマットは %s です", name);
  else
    LogWriteFormat("バックバッファが対応していないフォーマット %d です", static_cast<int>(g.screenFormat));

  static constexpr struct {
    D_D3DFORMAT format;
    const char* name;
  } kDepthFormats[] = {{D_D3DFMT_D16, "D3DFMT_D16"}, {D_D3DFMT_D24X8, "D3DFMT_D24X8"}, {D_D3DFMT_D32, "D3DFMT_D32"}};
  for (const auto& depth : kDepthFormats) {
    if (SUCCEEDED(g.direct3d->CheckDepthStencilMatch(D_D3DADAPTER_DEFAULT, D_D3DDEVTYPE_HAL, g.screenFormat,
                                                     g.screenFormat, depth.format))) {
      g.depthFormat = depth.format;
      LogWriteFormat("Ｚバッファのフォーマットは %s です", depth.name);
      return 0;
    }
  }
  return LogWrite("使用できる Zバッファフォーマットが見つかりませんでした\n");
}

int ChooseTextureFormats() {
  GraphicsState& g = Graphics();
  for (const TextureChoice& choice : kTextureChoices) {
    D_D3DFORMAT format = FirstAccepted(0, choice.tried, choice.count);
    if (format == D_D3DFMT_UNKNOWN) {
      if (choice.missingLog) return LogWrite(choice.missingLog);
      format = g.textureFormats[choice.fallback];
    }
    g.textureFormats[choice.slot] = format;
    LogWriteFormat(choice.foundLog, TextureFormatName(format));
  }
  for (const DxtChoice& choice : kDxtChoices) {
    const bool accepted = FirstAccepted(0, &choice.format, 1) != D_D3DFMT_UNKNOWN;
    g.textureFormats[choice.slot] = accepted ? choice.format : g.textureFormats[choice.fallback];
    LogWriteFormat(choice.log, accepted ? choice.name : "使えません");
  }
  return 0;
}

struct TargetChoice {
  TextureFormatSlot slot;
  D_D3DFORMAT tried[3];
  int count;
  const char* foundLog;
  const char* missingLog;
};

void ChooseRenderTargetFormats() {
  GraphicsState& g = Graphics();
  // The 16-bit target prefers the screen's own 16-bit format.
  const D_D3DFORMAT other16 = g.screenFormat == D_D3DFMT_X1R5G5B5 ? D_D3DFMT_R5G6B5 : D_D3DFMT_X1R5G5B5;
  const D_D3DFORMAT first16 = other16 == D_D3DFMT_R5G6B5 ? D_D3DFMT_X1R5G5B5 : D_D3DFMT_R5G6B5;
  const TargetChoice choices[] = {
      {kTexFormatTarget16,
       {first16, other16, D_D3DFMT_X8R8G8B8},
       3,
       "描画用 16bit カラーフォーマットは %s です",
       "使用できる描画用 16bit カラーフォーマットがありませんでした\n"},
      {kTexFormatTarget32,
       {D_D3DFMT_X8R8G8B8, D_D3DFMT_R5G6B5, D_D3DFMT_X1R5G5B5},
       3,
       "描画用 32bit カラーフォーマットは %s です",
       "使用できる描画用 32bit カラーフォーマットがありませんでした\n"},
      {kTexFormatTargetAlpha32,
       {D_D3DFMT_A8R8G8B8, D_D3DFMT_A4R4G4B4},
       2,
       "描画用アルファ付き 32bit カラーフォーマットは %s です",
       "使用できる描画用アルファ付き 32bit カラーフォーマットがありませんでした\n"},
  };
  for (const TargetChoice& choice : choices) {
    const D_D3DFORMAT format = FirstAccepted(D_D3DUSAGE_RENDERTARGET, choice.tried, choice.count);
    g.textureFormats[choice.slot] = format;
    if (format == D_D3DFMT_UNKNOWN)
      LogWrite(choice.missingLog);
    else
      LogWriteFormat(choice.foundLog, TextureFormatName(format));
  }
  const bool screen32 = g.screenFormat == D_D3DFMT_X8R8G8B8;
  g.textureFormats[kTexFormatScreenDrawable] = g.textureFormats[screen32 ? kTexFormatTarget32 : kTexFormatTarget16];
  g.textureFormats[kTexFormatScreenAlphaTest] =
      g.textureFormats[screen32 ? kTexFormatAlphaTest32 : kTexFormatAlphaTest16];
}

}  // namespace

int ChooseDeviceFormats() {
  if (ChooseScreenAndDepthFormats() != 0) return -1;
  if (ChooseTextureFormats() != 0) return -1;
  ChooseRenderTargetFormats();
  return 0;
}
