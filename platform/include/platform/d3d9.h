// Direct3D 9: the module "d3d9.dll" with Direct3DCreate9, and the device
// objects the framework draws with (fixed-function pipeline on OpenGL 3.3).
#pragma once

#include "platform/ole32.h"
#include "platform/wintypes.h"

// ---- Results ---------------------------------------------------------------

#define D_D3D_OK S_OK
#define D_D3DERR_WRONGTEXTUREFORMAT (static_cast<HRESULT>(0x88760818u))
#define D_D3DERR_NOTFOUND (static_cast<HRESULT>(0x88760866u))
#define D_D3DERR_MOREDATA (static_cast<HRESULT>(0x88760867u))
#define D_D3DERR_DEVICELOST (static_cast<HRESULT>(0x88760868u))
#define D_D3DERR_DEVICENOTRESET (static_cast<HRESULT>(0x88760869u))
#define D_D3DERR_NOTAVAILABLE (static_cast<HRESULT>(0x8876086Au))
#define D_D3DERR_OUTOFVIDEOMEMORY (static_cast<HRESULT>(0x8876017Cu))
#define D_D3DERR_INVALIDCALL (static_cast<HRESULT>(0x8876086Cu))

#define D_D3D_SDK_VERSION 32u
#define D_D3DADAPTER_DEFAULT 0u

// ---- Formats, pools, usages ------------------------------------------------

constexpr DWORD D_MAKEFOURCC(char a, char b, char c, char d) {
  return static_cast<DWORD>(static_cast<BYTE>(a)) | (static_cast<DWORD>(static_cast<BYTE>(b)) << 8) |
         (static_cast<DWORD>(static_cast<BYTE>(c)) << 16) |
         (static_cast<DWORD>(static_cast<BYTE>(d)) << 24);
}

enum D_D3DFORMAT : DWORD {
  D_D3DFMT_UNKNOWN = 0,
  D_D3DFMT_R8G8B8 = 20,
  D_D3DFMT_A8R8G8B8 = 21,
  D_D3DFMT_X8R8G8B8 = 22,
  D_D3DFMT_R5G6B5 = 23,
  D_D3DFMT_X1R5G5B5 = 24,
  D_D3DFMT_A1R5G5B5 = 25,
  D_D3DFMT_A4R4G4B4 = 26,
  D_D3DFMT_A8 = 28,
  D_D3DFMT_D32 = 71,
  D_D3DFMT_D15S1 = 73,
  D_D3DFMT_D24S8 = 75,
  D_D3DFMT_D24X8 = 77,
  D_D3DFMT_D16 = 80,
  D_D3DFMT_VERTEXDATA = 100,
  D_D3DFMT_INDEX16 = 101,
  D_D3DFMT_INDEX32 = 102,
  D_D3DFMT_DXT1 = D_MAKEFOURCC('D', 'X', 'T', '1'),
  D_D3DFMT_DXT2 = D_MAKEFOURCC('D', 'X', 'T', '2'),
  D_D3DFMT_DXT3 = D_MAKEFOURCC('D', 'X', 'T', '3'),
  D_D3DFMT_DXT4 = D_MAKEFOURCC('D', 'X', 'T', '4'),
  D_D3DFMT_DXT5 = D_MAKEFOURCC('D', 'X', 'T', '5'),
  D_D3DFMT_YUY2 = D_MAKEFOURCC('Y', 'U', 'Y', '2'),
  D_D3DFMT_UYVY = D_MAKEFOURCC('U', 'Y', 'V', 'Y'),
  D_D3DFMT_YV12 = D_MAKEFOURCC('Y', 'V', '1', '2'),
};

enum D_D3DPOOL : DWORD {
  D_D3DPOOL_DEFAULT = 0,
  D_D3DPOOL_MANAGED = 1,
  D_D3DPOOL_SYSTEMMEM = 2,
  D_D3DPOOL_SCRATCH = 3,
};

enum D_D3DRESOURCETYPE : DWORD {
  D_D3DRTYPE_SURFACE = 1,
  D_D3DRTYPE_VOLUME = 2,
  D_D3DRTYPE_TEXTURE = 3,
  D_D3DRTYPE_VOLUMETEXTURE = 4,
  D_D3DRTYPE_CUBETEXTURE = 5,
  D_D3DRTYPE_VERTEXBUFFER = 6,
  D_D3DRTYPE_INDEXBUFFER = 7,
};

#define D_D3DUSAGE_RENDERTARGET 0x00000001u
#define D_D3DUSAGE_DEPTHSTENCIL 0x00000002u
#define D_D3DUSAGE_WRITEONLY 0x00000008u
#define D_D3DUSAGE_DYNAMIC 0x00000200u
#define D_D3DUSAGE_AUTOGENMIPMAP 0x00000400u

#define D_D3DLOCK_READONLY 0x00000010u
#define D_D3DLOCK_DISCARD 0x00002000u
#define D_D3DLOCK_NOOVERWRITE 0x00001000u
#define D_D3DLOCK_NOSYSLOCK 0x00000800u

enum D_D3DMULTISAMPLE_TYPE : DWORD { D_D3DMULTISAMPLE_NONE = 0 };

enum D_D3DDEVTYPE : DWORD { D_D3DDEVTYPE_HAL = 1, D_D3DDEVTYPE_REF = 2, D_D3DDEVTYPE_SW = 3 };

// ---- Rendering states ------------------------------------------------------

enum D_D3DRENDERSTATETYPE : DWORD {
  D_D3DRS_ZENABLE = 7,
  D_D3DRS_FILLMODE = 8,
  D_D3DRS_SHADEMODE = 9,
  D_D3DRS_ZWRITEENABLE = 14,
  D_D3DRS_ALPHATESTENABLE = 15,
  D_D3DRS_LASTPIXEL = 16,
  D_D3DRS_SRCBLEND = 19,
  D_D3DRS_DESTBLEND = 20,
  D_D3DRS_CULLMODE = 22,
  D_D3DRS_ZFUNC = 23,
  D_D3DRS_ALPHAREF = 24,
  D_D3DRS_ALPHAFUNC = 25,
  D_D3DRS_DITHERENABLE = 26,
  D_D3DRS_ALPHABLENDENABLE = 27,
  D_D3DRS_FOGENABLE = 28,
  D_D3DRS_SPECULARENABLE = 29,
  D_D3DRS_FOGCOLOR = 34,
  D_D3DRS_FOGTABLEMODE = 35,
  D_D3DRS_FOGSTART = 36,
  D_D3DRS_FOGEND = 37,
  D_D3DRS_FOGDENSITY = 38,
  D_D3DRS_RANGEFOGENABLE = 48,
  D_D3DRS_STENCILENABLE = 52,
  D_D3DRS_TEXTUREFACTOR = 60,
  D_D3DRS_CLIPPING = 136,
  D_D3DRS_LIGHTING = 137,
  D_D3DRS_AMBIENT = 139,
  D_D3DRS_FOGVERTEXMODE = 140,
  D_D3DRS_COLORVERTEX = 141,
  D_D3DRS_LOCALVIEWER = 142,
  D_D3DRS_NORMALIZENORMALS = 143,
  D_D3DRS_DIFFUSEMATERIALSOURCE = 145,
  D_D3DRS_SPECULARMATERIALSOURCE = 146,
  D_D3DRS_AMBIENTMATERIALSOURCE = 147,
  D_D3DRS_EMISSIVEMATERIALSOURCE = 148,
  D_D3DRS_COLORWRITEENABLE = 168,
  D_D3DRS_BLENDOP = 171,
  D_D3DRS_SCISSORTESTENABLE = 174,
  D_D3DRS_SLOPESCALEDEPTHBIAS = 175,
  D_D3DRS_DEPTHBIAS = 195,
};
// One past the highest render state a device keeps.
#define D_D3DRS_COUNT 210u

enum D_D3DZBUFFERTYPE : DWORD { D_D3DZB_FALSE = 0, D_D3DZB_TRUE = 1 };
enum D_D3DFILLMODE : DWORD { D_D3DFILL_POINT = 1, D_D3DFILL_WIREFRAME = 2, D_D3DFILL_SOLID = 3 };
enum D_D3DSHADEMODE : DWORD { D_D3DSHADE_FLAT = 1, D_D3DSHADE_GOURAUD = 2, D_D3DSHADE_PHONG = 3 };
enum D_D3DCULL : DWORD { D_D3DCULL_NONE = 1, D_D3DCULL_CW = 2, D_D3DCULL_CCW = 3 };

enum D_D3DCMPFUNC : DWORD {
  D_D3DCMP_NEVER = 1,
  D_D3DCMP_LESS = 2,
  D_D3DCMP_EQUAL = 3,
  D_D3DCMP_LESSEQUAL = 4,
  D_D3DCMP_GREATER = 5,
  D_D3DCMP_NOTEQUAL = 6,
  D_D3DCMP_GREATEREQUAL = 7,
  D_D3DCMP_ALWAYS = 8,
};

enum D_D3DBLEND : DWORD {
  D_D3DBLEND_ZERO = 1,
  D_D3DBLEND_ONE = 2,
  D_D3DBLEND_SRCCOLOR = 3,
  D_D3DBLEND_INVSRCCOLOR = 4,
  D_D3DBLEND_SRCALPHA = 5,
  D_D3DBLEND_INVSRCALPHA = 6,
  D_D3DBLEND_DESTALPHA = 7,
  D_D3DBLEND_INVDESTALPHA = 8,
  D_D3DBLEND_DESTCOLOR = 9,
  D_D3DBLEND_INVDESTCOLOR = 10,
  D_D3DBLEND_SRCALPHASAT = 11,
  D_D3DBLEND_BOTHSRCALPHA = 12,
  D_D3DBLEND_BOTHINVSRCALPHA = 13,
};

enum D_D3DBLENDOP : DWORD {
  D_D3DBLENDOP_ADD = 1,
  D_D3DBLENDOP_SUBTRACT = 2,
  D_D3DBLENDOP_REVSUBTRACT = 3,
  D_D3DBLENDOP_MIN = 4,
  D_D3DBLENDOP_MAX = 5,
};

enum D_D3DMATERIALCOLORSOURCE : DWORD {
  D_D3DMCS_MATERIAL = 0,
  D_D3DMCS_COLOR1 = 1,
  D_D3DMCS_COLOR2 = 2,
};

// ---- Texture stages and samplers -------------------------------------------

#define D_D3DMAXTEXTURESTAGES 8u

enum D_D3DTEXTURESTAGESTATETYPE : DWORD {
  D_D3DTSS_COLOROP = 1,
  D_D3DTSS_COLORARG1 = 2,
  D_D3DTSS_COLORARG2 = 3,
  D_D3DTSS_ALPHAOP = 4,
  D_D3DTSS_ALPHAARG1 = 5,
  D_D3DTSS_ALPHAARG2 = 6,
  D_D3DTSS_TEXCOORDINDEX = 11,
  D_D3DTSS_TEXTURETRANSFORMFLAGS = 24,
  D_D3DTSS_COLORARG0 = 26,
  D_D3DTSS_ALPHAARG0 = 27,
  D_D3DTSS_RESULTARG = 28,
  D_D3DTSS_CONSTANT = 32,
};
// One past the highest stage state a device keeps.
#define D_D3DTSS_COUNT 33u

enum D_D3DTEXTUREOP : DWORD {
  D_D3DTOP_DISABLE = 1,
  D_D3DTOP_SELECTARG1 = 2,
  D_D3DTOP_SELECTARG2 = 3,
  D_D3DTOP_MODULATE = 4,
  D_D3DTOP_MODULATE2X = 5,
  D_D3DTOP_MODULATE4X = 6,
  D_D3DTOP_ADD = 7,
  D_D3DTOP_ADDSIGNED = 8,
  D_D3DTOP_ADDSIGNED2X = 9,
  D_D3DTOP_SUBTRACT = 10,
  D_D3DTOP_ADDSMOOTH = 11,
  D_D3DTOP_BLENDDIFFUSEALPHA = 12,
  D_D3DTOP_BLENDTEXTUREALPHA = 13,
  D_D3DTOP_BLENDFACTORALPHA = 14,
  D_D3DTOP_BLENDTEXTUREALPHAPM = 15,
  D_D3DTOP_BLENDCURRENTALPHA = 16,
  D_D3DTOP_PREMODULATE = 17,
  D_D3DTOP_MODULATEALPHA_ADDCOLOR = 18,
  D_D3DTOP_MODULATECOLOR_ADDALPHA = 19,
  D_D3DTOP_MODULATEINVALPHA_ADDCOLOR = 20,
  D_D3DTOP_MODULATEINVCOLOR_ADDALPHA = 21,
  D_D3DTOP_BUMPENVMAP = 22,
  D_D3DTOP_BUMPENVMAPLUMINANCE = 23,
  D_D3DTOP_DOTPRODUCT3 = 24,
  D_D3DTOP_MULTIPLYADD = 25,
  D_D3DTOP_LERP = 26,
};

#define D_D3DTA_SELECTMASK 0x0000000Fu
#define D_D3DTA_DIFFUSE 0x00000000u
#define D_D3DTA_CURRENT 0x00000001u
#define D_D3DTA_TEXTURE 0x00000002u
#define D_D3DTA_TFACTOR 0x00000003u
#define D_D3DTA_SPECULAR 0x00000004u
#define D_D3DTA_TEMP 0x00000005u
#define D_D3DTA_CONSTANT 0x00000006u
#define D_D3DTA_COMPLEMENT 0x00000010u
#define D_D3DTA_ALPHAREPLICATE 0x00000020u

enum D_D3DTEXTURETRANSFORMFLAGS : DWORD {
  D_D3DTTFF_DISABLE = 0,
  D_D3DTTFF_COUNT1 = 1,
  D_D3DTTFF_COUNT2 = 2,
  D_D3DTTFF_COUNT3 = 3,
  D_D3DTTFF_COUNT4 = 4,
  D_D3DTTFF_PROJECTED = 256,
};

enum D_D3DSAMPLERSTATETYPE : DWORD {
  D_D3DSAMP_ADDRESSU = 1,
  D_D3DSAMP_ADDRESSV = 2,
  D_D3DSAMP_ADDRESSW = 3,
  D_D3DSAMP_BORDERCOLOR = 4,
  D_D3DSAMP_MAGFILTER = 5,
  D_D3DSAMP_MINFILTER = 6,
  D_D3DSAMP_MIPFILTER = 7,
  D_D3DSAMP_MIPMAPLODBIAS = 8,
  D_D3DSAMP_MAXMIPLEVEL = 9,
  D_D3DSAMP_MAXANISOTROPY = 10,
};
#define D_D3DSAMP_COUNT 14u

enum D_D3DTEXTUREADDRESS : DWORD {
  D_D3DTADDRESS_WRAP = 1,
  D_D3DTADDRESS_MIRROR = 2,
  D_D3DTADDRESS_CLAMP = 3,
  D_D3DTADDRESS_BORDER = 4,
  D_D3DTADDRESS_MIRRORONCE = 5,
};

enum D_D3DTEXTUREFILTERTYPE : DWORD {
  D_D3DTEXF_NONE = 0,
  D_D3DTEXF_POINT = 1,
  D_D3DTEXF_LINEAR = 2,
  D_D3DTEXF_ANISOTROPIC = 3,
};

// ---- Vertices and primitives -----------------------------------------------

#define D_D3DFVF_XYZ 0x002u
#define D_D3DFVF_XYZRHW 0x004u
#define D_D3DFVF_POSITION_MASK 0x00Eu
#define D_D3DFVF_NORMAL 0x010u
#define D_D3DFVF_PSIZE 0x020u
#define D_D3DFVF_DIFFUSE 0x040u
#define D_D3DFVF_SPECULAR 0x080u
#define D_D3DFVF_TEXCOUNT_MASK 0xF00u
#define D_D3DFVF_TEXCOUNT_SHIFT 8u
#define D_D3DFVF_TEX1 0x100u
#define D_D3DFVF_TEX2 0x200u

enum D_D3DPRIMITIVETYPE : DWORD {
  D_D3DPT_POINTLIST = 1,
  D_D3DPT_LINELIST = 2,
  D_D3DPT_LINESTRIP = 3,
  D_D3DPT_TRIANGLELIST = 4,
  D_D3DPT_TRIANGLESTRIP = 5,
  D_D3DPT_TRIANGLEFAN = 6,
};

struct D_D3DVERTEXELEMENT9 {
  WORD Stream;
  WORD Offset;
  BYTE Type;
  BYTE Method;
  BYTE Usage;
  BYTE UsageIndex;
};
#define D_D3DDECL_END() {0xFF, 0, 17, 0, 0, 0}

// ---- Transforms, lights, materials, viewports ------------------------------

enum D_D3DTRANSFORMSTATETYPE : DWORD {
  D_D3DTS_VIEW = 2,
  D_D3DTS_PROJECTION = 3,
  D_D3DTS_TEXTURE0 = 16,
  D_D3DTS_TEXTURE7 = 23,
  D_D3DTS_WORLD = 256,
};

struct D_D3DMATRIX {
  float m[4][4];
};

struct D_D3DCOLORVALUE {
  float r, g, b, a;
};

struct D_D3DVECTOR {
  float x, y, z;
};

struct D_D3DMATERIAL9 {
  D_D3DCOLORVALUE Diffuse;
  D_D3DCOLORVALUE Ambient;
  D_D3DCOLORVALUE Specular;
  D_D3DCOLORVALUE Emissive;
  float Power;
};

enum D_D3DLIGHTTYPE : DWORD { D_D3DLIGHT_POINT = 1, D_D3DLIGHT_SPOT = 2, D_D3DLIGHT_DIRECTIONAL = 3 };

struct D_D3DLIGHT9 {
  D_D3DLIGHTTYPE Type;
  D_D3DCOLORVALUE Diffuse;
  D_D3DCOLORVALUE Specular;
  D_D3DCOLORVALUE Ambient;
  D_D3DVECTOR Position;
  D_D3DVECTOR Direction;
  float Range;
  float Falloff;
  float Attenuation0;
  float Attenuation1;
  float Attenuation2;
  float Theta;
  float Phi;
};

struct D_D3DVIEWPORT9 {
  DWORD X;
  DWORD Y;
  DWORD Width;
  DWORD Height;
  float MinZ;
  float MaxZ;
};

using D_D3DCOLOR = DWORD;
constexpr D_D3DCOLOR D_D3DCOLOR_ARGB(DWORD a, DWORD r, DWORD g, DWORD b) {
  return ((a & 0xFF) << 24) | ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
}

#define D_D3DCLEAR_TARGET 0x1u
#define D_D3DCLEAR_ZBUFFER 0x2u
#define D_D3DCLEAR_STENCIL 0x4u

struct D_D3DRECT {
  LONG x1, y1, x2, y2;
};

// ---- Descriptions ----------------------------------------------------------

struct D_D3DSURFACE_DESC {
  D_D3DFORMAT Format;
  D_D3DRESOURCETYPE Type;
  DWORD Usage;
  D_D3DPOOL Pool;
  D_D3DMULTISAMPLE_TYPE MultiSampleType;
  DWORD MultiSampleQuality;
  UINT Width;
  UINT Height;
};

struct D_D3DVOLUME_DESC {
  D_D3DFORMAT Format;
  D_D3DRESOURCETYPE Type;
  DWORD Usage;
  D_D3DPOOL Pool;
  UINT Width;
  UINT Height;
  UINT Depth;
};

struct D_D3DVERTEXBUFFER_DESC {
  D_D3DFORMAT Format;
  D_D3DRESOURCETYPE Type;
  DWORD Usage;
  D_D3DPOOL Pool;
  UINT Size;
  DWORD FVF;
};

struct D_D3DINDEXBUFFER_DESC {
  D_D3DFORMAT Format;
  D_D3DRESOURCETYPE Type;
  DWORD Usage;
  D_D3DPOOL Pool;
  UINT Size;
};

struct D_D3DLOCKED_RECT {
  INT Pitch;
  void* pBits;
};

struct D_D3DLOCKED_BOX {
  INT RowPitch;
  INT SlicePitch;
  void* pBits;
};

struct D_D3DBOX {
  UINT Left, Top, Right, Bottom, Front, Back;
};

// ---- Adapter and device ----------------------------------------------------

struct D_D3DDISPLAYMODE {
  UINT Width;
  UINT Height;
  UINT RefreshRate;
  D_D3DFORMAT Format;
};

struct D_D3DADAPTER_IDENTIFIER9 {
  char Driver[512];
  char Description[512];
  char DeviceName[32];
  LONGLONG DriverVersion;
  DWORD VendorId;
  DWORD DeviceId;
  DWORD SubSysId;
  DWORD Revision;
  GUID DeviceIdentifier;
  DWORD WHQLLevel;
};

enum D_D3DSWAPEFFECT : DWORD {
  D_D3DSWAPEFFECT_DISCARD = 1,
  D_D3DSWAPEFFECT_FLIP = 2,
  D_D3DSWAPEFFECT_COPY = 3,
};

#define D_D3DPRESENTFLAG_LOCKABLE_BACKBUFFER 0x1u
#define D_D3DPRESENT_INTERVAL_DEFAULT 0x0u
#define D_D3DPRESENT_INTERVAL_ONE 0x1u
#define D_D3DPRESENT_INTERVAL_IMMEDIATE 0x80000000u

#define D_D3DCREATE_FPU_PRESERVE 0x02u
#define D_D3DCREATE_MULTITHREADED 0x04u
#define D_D3DCREATE_PUREDEVICE 0x10u
#define D_D3DCREATE_SOFTWARE_VERTEXPROCESSING 0x20u
#define D_D3DCREATE_HARDWARE_VERTEXPROCESSING 0x40u
#define D_D3DCREATE_MIXED_VERTEXPROCESSING 0x80u

enum D_D3DBACKBUFFER_TYPE : DWORD { D_D3DBACKBUFFER_TYPE_MONO = 0 };

struct D_D3DPRESENT_PARAMETERS {
  UINT BackBufferWidth;
  UINT BackBufferHeight;
  D_D3DFORMAT BackBufferFormat;
  UINT BackBufferCount;
  D_D3DMULTISAMPLE_TYPE MultiSampleType;
  DWORD MultiSampleQuality;
  D_D3DSWAPEFFECT SwapEffect;
  HWND hDeviceWindow;
  BOOL Windowed;
  BOOL EnableAutoDepthStencil;
  D_D3DFORMAT AutoDepthStencilFormat;
  DWORD Flags;
  UINT FullScreen_RefreshRateInHz;
  UINT PresentationInterval;
};

#define D_D3DPMISCCAPS_CULLNONE 0x00000010u
#define D_D3DPMISCCAPS_CULLCW 0x00000020u
#define D_D3DPMISCCAPS_CULLCCW 0x00000040u
#define D_D3DPMISCCAPS_CLIPTLVERTS 0x00000200u
#define D_D3DPMISCCAPS_TSSARGTEMP 0x00000400u
#define D_D3DPMISCCAPS_BLENDOP 0x00000800u
#define D_D3DPTEXTURECAPS_PERSPECTIVE 0x00000001u
#define D_D3DPTEXTURECAPS_POW2 0x00000002u
#define D_D3DPTEXTURECAPS_ALPHA 0x00000004u
#define D_D3DPTEXTURECAPS_SQUAREONLY 0x00000020u
#define D_D3DPTEXTURECAPS_MIPMAP 0x00004000u
#define D_D3DPTEXTURECAPS_VOLUMEMAP 0x00002000u
#define D_D3DDEVCAPS_HWTRANSFORMANDLIGHT 0x00010000u
#define D_D3DDEVCAPS2_CAN_STRETCHRECT_FROM_TEXTURES 0x00000010u
// TextureOpCaps: bit (op - 1) for each D3DTEXTUREOP the device performs.
#define D_D3DTEXOPCAPS_OF(op) (1u << ((op) - 1))
#define D_D3DPRESENT_INTERVAL_CAPS (D_D3DPRESENT_INTERVAL_ONE | D_D3DPRESENT_INTERVAL_IMMEDIATE)

struct D_D3DCAPS9 {
  D_D3DDEVTYPE DeviceType;
  UINT AdapterOrdinal;
  DWORD Caps;
  DWORD Caps2;
  DWORD Caps3;
  DWORD PresentationIntervals;
  DWORD CursorCaps;
  DWORD DevCaps;
  DWORD PrimitiveMiscCaps;
  DWORD RasterCaps;
  DWORD ZCmpCaps;
  DWORD SrcBlendCaps;
  DWORD DestBlendCaps;
  DWORD AlphaCmpCaps;
  DWORD ShadeCaps;
  DWORD TextureCaps;
  DWORD TextureFilterCaps;
  DWORD CubeTextureFilterCaps;
  DWORD VolumeTextureFilterCaps;
  DWORD TextureAddressCaps;
  DWORD VolumeTextureAddressCaps;
  DWORD LineCaps;
  DWORD MaxTextureWidth;
  DWORD MaxTextureHeight;
  DWORD MaxVolumeExtent;
  DWORD MaxTextureRepeat;
  DWORD MaxTextureAspectRatio;
  DWORD MaxAnisotropy;
  float MaxVertexW;
  float GuardBandLeft;
  float GuardBandTop;
  float GuardBandRight;
  float GuardBandBottom;
  float ExtentsAdjust;
  DWORD StencilCaps;
  DWORD FVFCaps;
  DWORD TextureOpCaps;
  DWORD MaxTextureBlendStages;
  DWORD MaxSimultaneousTextures;
  DWORD VertexProcessingCaps;
  DWORD MaxActiveLights;
  DWORD MaxUserClipPlanes;
  DWORD MaxVertexBlendMatrices;
  DWORD MaxVertexBlendMatrixIndex;
  float MaxPointSize;
  DWORD MaxPrimitiveCount;
  DWORD MaxVertexIndex;
  DWORD MaxStreams;
  DWORD MaxStreamStride;
  DWORD VertexShaderVersion;
  DWORD MaxVertexShaderConst;
  DWORD PixelShaderVersion;
  float PixelShader1xMaxValue;
  DWORD DevCaps2;
  float MaxNpatchTessellationLevel;
  DWORD Reserved5;
  UINT MasterAdapterOrdinal;
  UINT AdapterOrdinalInGroup;
  UINT NumberOfAdaptersInGroup;
  DWORD DeclTypes;
  DWORD NumSimultaneousRTs;
  DWORD StretchRectFilterCaps;
  DWORD VS20Caps[4];
  DWORD PS20Caps[5];
  DWORD VertexTextureFilterCaps;
  DWORD MaxVShaderInstructionsExecuted;
  DWORD MaxPShaderInstructionsExecuted;
  DWORD MaxVertexShader30InstructionSlots;
  DWORD MaxPixelShader30InstructionSlots;
};

// ---- Interfaces ------------------------------------------------------------

class D_IDirect3DDevice9;

class D_IDirect3DResource9 : public IUnknown {
 public:
  virtual HRESULT GetDevice(D_IDirect3DDevice9** device) = 0;
  virtual D_D3DRESOURCETYPE GetType() = 0;
};

class D_IDirect3DSurface9 : public D_IDirect3DResource9 {
 public:
  virtual HRESULT GetDesc(D_D3DSURFACE_DESC* desc) = 0;
  virtual HRESULT LockRect(D_D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
  virtual HRESULT UnlockRect() = 0;
};

class D_IDirect3DBaseTexture9 : public D_IDirect3DResource9 {
 public:
  virtual DWORD GetLevelCount() = 0;
};

class D_IDirect3DTexture9 : public D_IDirect3DBaseTexture9 {
 public:
  virtual HRESULT GetLevelDesc(UINT level, D_D3DSURFACE_DESC* desc) = 0;
  virtual HRESULT GetSurfaceLevel(UINT level, D_IDirect3DSurface9** surface) = 0;
  virtual HRESULT LockRect(UINT level, D_D3DLOCKED_RECT* locked, const RECT* rect,
                           DWORD flags) = 0;
  virtual HRESULT UnlockRect(UINT level) = 0;
};

class D_IDirect3DVolumeTexture9 : public D_IDirect3DBaseTexture9 {
 public:
  virtual HRESULT GetLevelDesc(UINT level, D_D3DVOLUME_DESC* desc) = 0;
  virtual HRESULT LockBox(UINT level, D_D3DLOCKED_BOX* locked, const D_D3DBOX* box,
                          DWORD flags) = 0;
  virtual HRESULT UnlockBox(UINT level) = 0;
};

class D_IDirect3DVertexBuffer9 : public D_IDirect3DResource9 {
 public:
  virtual HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) = 0;
  virtual HRESULT Unlock() = 0;
  virtual HRESULT GetDesc(D_D3DVERTEXBUFFER_DESC* desc) = 0;
};

class D_IDirect3DIndexBuffer9 : public D_IDirect3DResource9 {
 public:
  virtual HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) = 0;
  virtual HRESULT Unlock() = 0;
  virtual HRESULT GetDesc(D_D3DINDEXBUFFER_DESC* desc) = 0;
};

// Shader and declaration objects are kept, not run: the device reports no
// shader support and draws with the fixed-function pipeline.
class D_IDirect3DVertexShader9 : public IUnknown {};
class D_IDirect3DPixelShader9 : public IUnknown {};
class D_IDirect3DVertexDeclaration9 : public IUnknown {};

class D_IDirect3DSwapChain9 : public IUnknown {
 public:
  virtual HRESULT Present(const RECT* source, const RECT* dest, HWND override_window,
                          const void* dirty_region, DWORD flags) = 0;
  virtual HRESULT GetBackBuffer(UINT index, D_D3DBACKBUFFER_TYPE type,
                                D_IDirect3DSurface9** surface) = 0;
  virtual HRESULT GetPresentParameters(D_D3DPRESENT_PARAMETERS* parameters) = 0;
};

class D_IDirect3D9;

class D_IDirect3DDevice9 : public IUnknown {
 public:
  virtual HRESULT TestCooperativeLevel() = 0;
  virtual HRESULT GetDirect3D(D_IDirect3D9** direct3d) = 0;
  virtual HRESULT GetDeviceCaps(D_D3DCAPS9* caps) = 0;
  virtual HRESULT GetSwapChain(UINT index, D_IDirect3DSwapChain9** swap_chain) = 0;
  virtual HRESULT Reset(D_D3DPRESENT_PARAMETERS* parameters) = 0;
  virtual HRESULT Present(const RECT* source, const RECT* dest, HWND override_window,
                          const void* dirty_region) = 0;
  virtual HRESULT GetBackBuffer(UINT swap_chain, UINT index, D_D3DBACKBUFFER_TYPE type,
                                D_IDirect3DSurface9** surface) = 0;
  virtual HRESULT SetDialogBoxMode(BOOL enable) = 0;

  virtual HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                D_D3DFORMAT format, D_D3DPOOL pool, D_IDirect3DTexture9** texture,
                                HANDLE* shared) = 0;
  virtual HRESULT CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels,
                                      DWORD usage, D_D3DFORMAT format, D_D3DPOOL pool,
                                      D_IDirect3DVolumeTexture9** texture, HANDLE* shared) = 0;
  virtual HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D_D3DPOOL pool,
                                     D_IDirect3DVertexBuffer9** buffer, HANDLE* shared) = 0;
  virtual HRESULT CreateIndexBuffer(UINT length, DWORD usage, D_D3DFORMAT format, D_D3DPOOL pool,
                                    D_IDirect3DIndexBuffer9** buffer, HANDLE* shared) = 0;
  virtual HRESULT CreateRenderTarget(UINT width, UINT height, D_D3DFORMAT format,
                                     D_D3DMULTISAMPLE_TYPE multisample, DWORD quality,
                                     BOOL lockable, D_IDirect3DSurface9** surface,
                                     HANDLE* shared) = 0;
  virtual HRESULT CreateDepthStencilSurface(UINT width, UINT height, D_D3DFORMAT format,
                                            D_D3DMULTISAMPLE_TYPE multisample, DWORD quality,
                                            BOOL discard, D_IDirect3DSurface9** surface,
                                            HANDLE* shared) = 0;
  virtual HRESULT UpdateSurface(D_IDirect3DSurface9* source, const RECT* source_rect,
                                D_IDirect3DSurface9* dest, const POINT* dest_point) = 0;
  virtual HRESULT UpdateTexture(D_IDirect3DBaseTexture9* source,
                                D_IDirect3DBaseTexture9* dest) = 0;
  virtual HRESULT GetRenderTargetData(D_IDirect3DSurface9* render_target,
                                      D_IDirect3DSurface9* dest) = 0;
  virtual HRESULT StretchRect(D_IDirect3DSurface9* source, const RECT* source_rect,
                              D_IDirect3DSurface9* dest, const RECT* dest_rect,
                              D_D3DTEXTUREFILTERTYPE filter) = 0;
  virtual HRESULT ColorFill(D_IDirect3DSurface9* surface, const RECT* rect, D_D3DCOLOR color) = 0;
  virtual HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D_D3DFORMAT format,
                                              D_D3DPOOL pool, D_IDirect3DSurface9** surface,
                                              HANDLE* shared) = 0;
  virtual HRESULT SetRenderTarget(DWORD index, D_IDirect3DSurface9* surface) = 0;
  virtual HRESULT GetRenderTarget(DWORD index, D_IDirect3DSurface9** surface) = 0;
  virtual HRESULT SetDepthStencilSurface(D_IDirect3DSurface9* surface) = 0;
  virtual HRESULT GetDepthStencilSurface(D_IDirect3DSurface9** surface) = 0;

  virtual HRESULT BeginScene() = 0;
  virtual HRESULT EndScene() = 0;
  virtual HRESULT Clear(DWORD count, const D_D3DRECT* rects, DWORD flags, D_D3DCOLOR color,
                        float z, DWORD stencil) = 0;
  virtual HRESULT SetTransform(D_D3DTRANSFORMSTATETYPE state, const D_D3DMATRIX* matrix) = 0;
  virtual HRESULT GetTransform(D_D3DTRANSFORMSTATETYPE state, D_D3DMATRIX* matrix) = 0;
  virtual HRESULT SetViewport(const D_D3DVIEWPORT9* viewport) = 0;
  virtual HRESULT GetViewport(D_D3DVIEWPORT9* viewport) = 0;
  virtual HRESULT SetMaterial(const D_D3DMATERIAL9* material) = 0;
  virtual HRESULT GetMaterial(D_D3DMATERIAL9* material) = 0;
  virtual HRESULT SetLight(DWORD index, const D_D3DLIGHT9* light) = 0;
  virtual HRESULT LightEnable(DWORD index, BOOL enable) = 0;
  virtual HRESULT SetRenderState(D_D3DRENDERSTATETYPE state, DWORD value) = 0;
  virtual HRESULT GetRenderState(D_D3DRENDERSTATETYPE state, DWORD* value) = 0;
  virtual HRESULT SetTexture(DWORD stage, D_IDirect3DBaseTexture9* texture) = 0;
  virtual HRESULT SetTextureStageState(DWORD stage, D_D3DTEXTURESTAGESTATETYPE type,
                                       DWORD value) = 0;
  virtual HRESULT GetTextureStageState(DWORD stage, D_D3DTEXTURESTAGESTATETYPE type,
                                       DWORD* value) = 0;
  virtual HRESULT SetSamplerState(DWORD sampler, D_D3DSAMPLERSTATETYPE type, DWORD value) = 0;
  virtual HRESULT GetSamplerState(DWORD sampler, D_D3DSAMPLERSTATETYPE type, DWORD* value) = 0;
  virtual HRESULT SetScissorRect(const RECT* rect) = 0;

  virtual HRESULT DrawPrimitiveUP(D_D3DPRIMITIVETYPE type, UINT primitive_count,
                                  const void* vertices, UINT stride) = 0;
  virtual HRESULT DrawIndexedPrimitiveUP(D_D3DPRIMITIVETYPE type, UINT min_vertex_index,
                                         UINT vertex_count, UINT primitive_count,
                                         const void* indices, D_D3DFORMAT index_format,
                                         const void* vertices, UINT stride) = 0;
  virtual HRESULT SetFVF(DWORD fvf) = 0;
  virtual HRESULT GetFVF(DWORD* fvf) = 0;

  virtual HRESULT CreateVertexDeclaration(const D_D3DVERTEXELEMENT9* elements,
                                          D_IDirect3DVertexDeclaration9** declaration) = 0;
  virtual HRESULT SetVertexDeclaration(D_IDirect3DVertexDeclaration9* declaration) = 0;
  virtual HRESULT CreateVertexShader(const DWORD* function, D_IDirect3DVertexShader9** shader) = 0;
  virtual HRESULT SetVertexShader(D_IDirect3DVertexShader9* shader) = 0;
  virtual HRESULT SetVertexShaderConstantF(UINT start, const float* data, UINT count) = 0;
  virtual HRESULT CreatePixelShader(const DWORD* function, D_IDirect3DPixelShader9** shader) = 0;
  virtual HRESULT SetPixelShader(D_IDirect3DPixelShader9* shader) = 0;
  virtual HRESULT SetPixelShaderConstantF(UINT start, const float* data, UINT count) = 0;
  // Integer registers hold four ints each, bool registers one BOOL each.
  virtual HRESULT SetVertexShaderConstantI(UINT start, const int* data, UINT count) = 0;
  virtual HRESULT GetVertexShaderConstantI(UINT start, int* data, UINT count) = 0;
  virtual HRESULT SetVertexShaderConstantB(UINT start, const BOOL* data, UINT count) = 0;
  virtual HRESULT GetVertexShaderConstantB(UINT start, BOOL* data, UINT count) = 0;
  virtual HRESULT SetPixelShaderConstantI(UINT start, const int* data, UINT count) = 0;
  virtual HRESULT GetPixelShaderConstantI(UINT start, int* data, UINT count) = 0;
  virtual HRESULT SetPixelShaderConstantB(UINT start, const BOOL* data, UINT count) = 0;
  virtual HRESULT GetPixelShaderConstantB(UINT start, BOOL* data, UINT count) = 0;
};

class D_IDirect3D9 : public IUnknown {
 public:
  virtual UINT GetAdapterCount() = 0;
  virtual HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags,
                                       D_D3DADAPTER_IDENTIFIER9* identifier) = 0;
  virtual UINT GetAdapterModeCount(UINT adapter, D_D3DFORMAT format) = 0;
  virtual HRESULT EnumAdapterModes(UINT adapter, D_D3DFORMAT format, UINT mode,
                                   D_D3DDISPLAYMODE* display_mode) = 0;
  virtual HRESULT GetAdapterDisplayMode(UINT adapter, D_D3DDISPLAYMODE* mode) = 0;
  virtual HRESULT CheckDeviceFormat(UINT adapter, D_D3DDEVTYPE type, D_D3DFORMAT adapter_format,
                                    DWORD usage, D_D3DRESOURCETYPE resource_type,
                                    D_D3DFORMAT check_format) = 0;
  virtual HRESULT CheckDeviceMultiSampleType(UINT adapter, D_D3DDEVTYPE type,
                                             D_D3DFORMAT surface_format, BOOL windowed,
                                             D_D3DMULTISAMPLE_TYPE multisample,
                                             DWORD* quality_levels) = 0;
  virtual HRESULT CheckDepthStencilMatch(UINT adapter, D_D3DDEVTYPE type,
                                         D_D3DFORMAT adapter_format,
                                         D_D3DFORMAT render_target_format,
                                         D_D3DFORMAT depth_format) = 0;
  virtual HRESULT GetDeviceCaps(UINT adapter, D_D3DDEVTYPE type, D_D3DCAPS9* caps) = 0;
  virtual HRESULT CreateDevice(UINT adapter, D_D3DDEVTYPE type, HWND focus_window,
                               DWORD behaviour, D_D3DPRESENT_PARAMETERS* parameters,
                               D_IDirect3DDevice9** device) = 0;
};

// {81BDCBCA-64D4-426D-AE8D-AD0147F4275C}
inline constexpr IID IID_IDirect3D9 = {
    0x81BDCBCA, 0x64D4, 0x426D, {0xAE, 0x8D, 0xAD, 0x01, 0x47, 0xF4, 0x27, 0x5C}};
// {D0223B96-BF7A-43FD-92BD-A43B0D82B9EB}
inline constexpr IID IID_IDirect3DDevice9 = {
    0xD0223B96, 0xBF7A, 0x43FD, {0x92, 0xBD, 0xA4, 0x3B, 0x0D, 0x82, 0xB9, 0xEB}};

// Null when the layer cannot offer a device (no OpenGL 3.3).
D_IDirect3D9* Direct3DCreate9(UINT sdk_version);
