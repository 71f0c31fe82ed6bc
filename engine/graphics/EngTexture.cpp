#include "engine/graphics/EngTexture.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/graphics/EngTextureCopy.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngUtilsDX9.h"
#include "engine/runtime/EngWindow.h"
#include "platform/d3d9/D3DX9.h"

#include <cstring>
#include <new>
#include <strings.h>

namespace {

// Reports that would flood the log are stopped after a few for the run.
const int ALPHA_FROM_FILE_REPORTS = 20;
const int UNKNOWN_ALPHA_REPORTS = 5;
const int INVALID_SIZE_REPORTS = 10;
int alpha_from_file_reports = 0;
int unknown_alpha_reports = 0;
int invalid_size_reports = 0;

struct FormatInfo {
    unsigned int format;
    int bits;
    bool alpha;
};

const FormatInfo FORMATS[] = {
    {D3DFMT_R8G8B8, 24, false},   {D3DFMT_A8R8G8B8, 32, true},  {D3DFMT_X8R8G8B8, 32, false},
    {D3DFMT_R5G6B5, 16, false},   {D3DFMT_X1R5G5B5, 16, false}, {D3DFMT_A1R5G5B5, 16, true},
    {D3DFMT_A4R4G4B4, 16, true},  {D3DFMT_X4R4G4B4, 16, false}, {D3DFMT_L8, 8, true},
};

} // namespace

_EngTextureFileExt EngTextureGetFileExtFromFilename(const char *filename, _EngTextureFileExt dat_kind)
{
    if (!filename)
        return ETFE_UNKNOWN;
    size_t length = std::strlen(filename);
    if (length < 4)
        return ETFE_UNKNOWN;
    const char *ext;
    if (filename[length - 4] == '.')
        ext = filename + length - 3;
    else if (length >= 5 && filename[length - 5] == '.')
        ext = filename + length - 4;
    else
        return ETFE_UNKNOWN;
    const struct {
        const char *ext;
        _EngTextureFileExt kind;
    } KINDS[] = {{"bmp", ETFE_BMP}, {"tga", ETFE_TGA}, {"jpg", ETFE_JPG}, {"jpeg", ETFE_JPG},
                 {"png", ETFE_PNG}, {"gif", ETFE_GIF}, {"dds", ETFE_DDS}, {"dat", dat_kind}};
    for (const auto &kind : KINDS)
        if (strcasecmp(ext, kind.ext) == 0)
            return kind.kind;
    return ETFE_UNKNOWN;
}

unsigned char EngTexture_GetPixelAlphaFromBrightness(char alpha_type, unsigned char red, unsigned char green,
                                                     unsigned char blue)
{
    const int max = red > green ? (red > blue ? red : blue) : (green > blue ? green : blue);
    const int min = red < green ? (red < blue ? red : blue) : (green < blue ? green : blue);
    switch (alpha_type) {
    case 0: return 255;
    case 1: return 0;
    case 2:
        if (alpha_from_file_reports < ALPHA_FROM_FILE_REPORTS) {
            alpha_from_file_reports++;
            DebugError("EngTexture_GetPixelAlphaFromBrightness", "Alpha from file specified");
        }
        return 0;
    case 3: return static_cast<unsigned char>(max);
    case 4:
        if (max >= 64)
            return 255;
        if (max < 32)
            return 0;
        return static_cast<unsigned char>(max * 8 - 256);
    case 5: return max >= 32 ? 255 : static_cast<unsigned char>(max * 8);
    case 6: return static_cast<unsigned char>(255 - min);
    case 7:
        if (min < 192)
            return 255;
        if (min >= 224)
            return 0;
        return static_cast<unsigned char>((223 - min) * 8);
    case 8: return min < 224 ? 255 : static_cast<unsigned char>((255 - min) * 8);
    case 9: return 255;
    default:
        if (unknown_alpha_reports < UNKNOWN_ALPHA_REPORTS) {
            unknown_alpha_reports++;
            DebugError("EngTexture_GetPixelAlphaFromBrightness", "Unknown alpha type %d", alpha_type);
        }
        return 0;
    }
}

void EngTextureResetForTests()
{
    alpha_from_file_reports = 0;
    unknown_alpha_reports = 0;
    invalid_size_reports = 0;
    EngTextureCopyResetForTests();
}

// ---------------------------------------------------------------------------
// The Direct3D 9 part.

EngTextureDX9::EngTextureDX9(EngTexture *owner)
    : m_owner(owner), m_created(false), m_quad_rect{0, 0, 0, 0}, m_width(0), m_height(0), m_coords_pending(false),
      m_tex_coords{0, 0, 0, 0}, m_bits(0), m_format(0), m_has_alpha(false), m_texture(nullptr), m_2d(false),
      m_coloured(false), m_normals(false), m_quad()
{
}

EngTextureDX9::~EngTextureDX9()
{
    DestroyTexture();
}

void EngTextureDX9::ClearTextureMembers()
{
    m_texture = nullptr;
    m_2d = false;
    m_coloured = false;
    m_normals = false;
}

int EngTextureDX9::GetBitdepthFromFormat(unsigned int format, bool *has_alpha)
{
    for (const FormatInfo &info : FORMATS)
        if (info.format == format) {
            if (has_alpha)
                *has_alpha = info.alpha;
            return info.bits;
        }
    DebugError("EngTextureDX9::GetBitdepthFromFormat", "Unrecognised format [%d]", static_cast<int>(format));
    return 0;
}

namespace {

// How a texture is made: a light-only texture holds one brightness byte, a
// render target takes the back buffer's format, the rest the best format the
// device offers (with alpha when asked).
void ChooseCreation(bool light_only, bool render_target, char alpha, D3DFORMAT *format, DWORD *usage, D3DPOOL *pool)
{
    *format = D3DFMT_UNKNOWN;
    *usage = 0;
    *pool = D3DPOOL_MANAGED;
    if (light_only) {
        *format = D3DFMT_L8;
    } else if (render_target) {
        *format = eng_d3d_back_buffer_format;
        *usage = D3DUSAGE_RENDERTARGET;
        *pool = D3DPOOL_DEFAULT;
    } else {
        EngUtilsDX9_GetSupportedSurfaceFormat(format, alpha);
    }
}

} // namespace

bool EngTextureDX9::DoLoadFromFile(const char *path, char alpha, char alpha_type, char twod, char light_only)
{
    const char *where = "EngTextureDX9::DoLoadFromFile";
    if (!eng_d3d_device)
        return false;
    if (!path || !path[0]) {
        DebugError(where, "No file specified");
        return false;
    }
    if (!EngFileExists(path, 0)) {
        DebugError(where, "File does not exist <%s>", path);
        return false;
    }
    if (twod && light_only) {
        DebugError(where, "Cannot specify both 2d and light only flags");
        return false;
    }
    if (m_created && m_texture)
        DebugError(where, "Texture already exists <%s>", path);
    DestroyTexture();

    D3DFORMAT format;
    DWORD usage;
    D3DPOOL pool;
    ChooseCreation(light_only, twod == 2, alpha, &format, &usage, &pool);
    if (!EngUtilsDX9_CheckResult(where, "D3DXCreateTextureFromFileExA",
                                 D3DXCreateTextureFromFileExA(eng_d3d_device, path, D3DX_DEFAULT, D3DX_DEFAULT, 1,
                                                              usage, format, pool, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                                              nullptr, nullptr, &m_texture))) {
        DebugError(where, "Could not load <%s>", path);
        m_texture = nullptr;
        m_created = false;
        return false;
    }

    D3DSURFACE_DESC desc;
    std::memset(&desc, 0, sizeof(desc));
    if (!EngUtilsDX9_CheckResult(where, "GetLevelDesc", m_texture->GetLevelDesc(0, &desc)))
        std::memset(&desc, 0, sizeof(desc));
    if (light_only && desc.Format != D3DFMT_L8) {
        DebugError(where, "Could not create light texture");
        DestroyTexture();
        return false;
    }
    // A texture whose quad cannot be made is of no use: the load fails.
    if (!DoFinaliseTextureCreation(static_cast<int>(desc.Width), static_cast<int>(desc.Height), 0,
                                   static_cast<unsigned int>(desc.Format), twod))
        return false;
    if (alpha && alpha_type != 2 && alpha_type != 9 && !SetupAlphaChannel(alpha_type))
        DebugError(where, "Warning - could not setup alpha channel");
    SetDefaultTextureCoordinates();
    return true;
}

bool EngTextureDX9::LoadFromFile(const char *path, char alpha, char alpha_type, char)
{
    return DoLoadFromFile(path, alpha, alpha_type, 0, 0);
}

bool EngTextureDX9::LoadFromFileUsingExt(const char *path, char alpha, char alpha_type, _EngTextureFileExt dat_kind,
                                         char unused)
{
    if (!m_owner)
        return false;
    switch (EngTextureGetFileExtFromFilename(path, dat_kind)) {
    case ETFE_BMP:
    case ETFE_TGA:
    case ETFE_JPG:
    case ETFE_PNG: return LoadFromFile(path, alpha, alpha_type, unused);
    default:
        DebugError("EngTextureDX9::LoadFromFileUsingExt", "Unknown extension in file <%s>", EngStrOrNone(path));
        return false;
    }
}

bool EngTextureDX9::DoCreateEmptyTexture(int *width, int *height, char alpha, char twod, char render_target,
                                         char light_only)
{
    const char *where = "EngTextureDX9::DoCreateEmptyTexture";
    if (!eng_d3d_device || !width || !height || *width <= 0 || *height <= 0)
        return false;
    if ((twod || render_target) && light_only) {
        DebugError(where, "Parameter error");
        return false;
    }
    if (m_created && m_texture)
        DebugError(where, "Texture already exists");
    DestroyTexture();

    D3DFORMAT format;
    DWORD usage;
    D3DPOOL pool;
    ChooseCreation(light_only, render_target, alpha, &format, &usage, &pool);
    if (!EngUtilsDX9_CheckResult(where, "D3DXCreateTexture",
                                 D3DXCreateTexture(eng_d3d_device, static_cast<UINT>(*width),
                                                   static_cast<UINT>(*height), 1, usage, format, pool, &m_texture))) {
        DebugError(where, "Could not create texture");
        m_texture = nullptr;
        m_created = false;
        return false;
    }

    D3DSURFACE_DESC desc;
    std::memset(&desc, 0, sizeof(desc));
    bool described = EngUtilsDX9_CheckResult(where, "GetLevelDesc", m_texture->GetLevelDesc(0, &desc));
    if (light_only && (!described || desc.Format != D3DFMT_L8)) {
        DebugError(where, "Could not create light texture");
        DestroyTexture();
        return false;
    }
    unsigned int made_format = 0;
    if (described) {
        *width = static_cast<int>(desc.Width);
        *height = static_cast<int>(desc.Height);
        made_format = static_cast<unsigned int>(desc.Format);
    }
    if (!DoFinaliseTextureCreation(*width, *height, 0, made_format, twod))
        return false;
    SetDefaultTextureCoordinates();
    return true;
}

bool EngTextureDX9::DoFinaliseTextureCreation(int width, int height, int bits, unsigned int format, char twod)
{
    const char *where = "EngTextureDX9::DoFinaliseTextureCreation";
    if (!m_texture) {
        DebugError(where, "Invalid texture passed in");
        m_created = false;
        return false;
    }
    if (twod ? !TextureBufferCreate2D() : !TextureBufferCreate()) {
        DebugError(where, twod ? "Could not create vertex buffers [2d]" : "Could not create vertex buffers");
        DestroyTexture();
        return false;
    }
    m_width = width;
    m_height = height;
    m_bits = bits;
    m_format = format;
    if (bits == 0 && format != 0)
        m_bits = GetBitdepthFromFormat(format, &m_has_alpha);
    m_created = true;
    SetDefaultTextureCoordinates();
    return true;
}

bool EngTextureDX9::TextureBufferCreate()
{
    return CreateQuad(EVBT_POS_TEX, false, "EngTextureDX9::TextureBufferCreate");
}

bool EngTextureDX9::TextureBufferCreate2D()
{
    return CreateQuad(EVBT_POS_TEX_2D, true, "EngTextureDX9::TextureBufferCreate2D");
}

bool EngTextureDX9::CreateQuad(_EngVertexBufferType type, bool is_2d, const char *where)
{
    if (!eng_d3d_device)
        return false;
    if (m_quad.IsCreated()) {
        DebugError(where, "Buffer already created");
        return false;
    }
    if (!m_quad.Create(type, m_owner))
        return false;
    m_coloured = false;
    m_normals = false;
    m_2d = is_2d;
    return true;
}

bool EngTextureDX9::LockDxSurface(D3DLOCKED_RECT *locked)
{
    if (!m_texture || !locked)
        return false;
    return EngUtilsDX9_CheckResult("EngTextureDX9::LockDxSurface", "LockRect",
                                   m_texture->LockRect(0, locked, nullptr, 0));
}

void EngTextureDX9::UnlockDxSurface()
{
    if (m_texture)
        m_texture->UnlockRect(0);
}

bool EngTextureDX9::SetupAlphaChannel(char alpha_type)
{
    const char *where = "EngTextureDX9::SetupAlphaChannel";
    if (!m_owner)
        return false;
    if (!m_created || !m_texture) {
        DebugError(where, "No texture");
        return false;
    }
    if (!m_has_alpha) {
        DebugError(where, "Format does not have alpha channel [%d]", static_cast<int>(m_format));
        return false;
    }
    if (m_format != D3DFMT_A8R8G8B8 && m_format != D3DFMT_A1R5G5B5 && m_format != D3DFMT_A4R4G4B4) {
        DebugError(where, "Texture format not ok [%d]", static_cast<int>(m_format));
        return false;
    }
    D3DLOCKED_RECT locked;
    if (!LockDxSurface(&locked)) {
        DebugError(where, "Could not lock texture");
        return false;
    }
    for (int y = 0; y < m_height; y++) {
        unsigned char *pixel = static_cast<unsigned char *>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch;
        for (int x = 0; x < m_width; x++) {
            if (m_format == D3DFMT_A8R8G8B8) {
                // Bytes blue, green, red, alpha.
                pixel[3] = EngTexture_GetPixelAlphaFromBrightness(alpha_type, pixel[2], pixel[1], pixel[0]);
                pixel += 4;
                continue;
            }
            // 16 bits, low byte first.
            const unsigned value = pixel[0] | (pixel[1] << 8);
            unsigned char alpha;
            if (m_format == D3DFMT_A1R5G5B5) {
                alpha = EngTexture_GetPixelAlphaFromBrightness(alpha_type, ((value >> 10) & 0x1F) << 3,
                                                               ((value >> 5) & 0x1F) << 3, (value & 0x1F) << 3);
                pixel[1] = static_cast<unsigned char>((pixel[1] & 0x7F) | (alpha & 0x80));
            } else {
                alpha = EngTexture_GetPixelAlphaFromBrightness(alpha_type, ((value >> 8) & 0x0F) << 4,
                                                               ((value >> 4) & 0x0F) << 4, (value & 0x0F) << 4);
                pixel[1] = static_cast<unsigned char>((pixel[1] & 0x0F) | (alpha & 0xF0));
            }
            pixel += 2;
        }
    }
    UnlockDxSurface();
    return true;
}

void EngTextureDX9::DestroyTexture()
{
    // Released whenever there is one, also while the device is being
    // replaced: a texture left behind would keep the old device alive.
    if (m_texture)
        m_texture->Release();
    m_quad.Destroy();
    ClearTextureMembers();
    m_created = false;
}

void EngTextureDX9::PositionQuad(float x, float y, float w, float h)
{
    m_quad_rect[0] = x;
    m_quad_rect[1] = y;
    m_quad_rect[2] = w;
    m_quad_rect[3] = h;
    m_quad.SetPosition(x, y, w, h);
}

void EngTextureDX9::PositionPure(float x, float y, float w, float h)
{
    if (!m_created)
        return;
    if (w <= 0.0f || h <= 0.0f) {
        DebugError("EngTextureDX9::PositionPure", "Invalid sizes");
        return;
    }
    PositionQuad(x, y, w, h);
}

void EngTextureDX9::PositionRatioed(float x, float y, float w, float h)
{
    if (!m_created)
        return;
    if (w == 0.0f || h == 0.0f) {
        if (invalid_size_reports < INVALID_SIZE_REPORTS) {
            invalid_size_reports++;
            DebugError("EngTextureDX9::PositionRatioed", "Invalid sizes");
        }
        return;
    }
    if (m_2d)
        PositionQuad(x * eng_screen_ratio_x, y * eng_screen_ratio_y, w * eng_screen_ratio_x, h * eng_screen_ratio_y);
    else
        PositionQuad(x / 320.0f - 1.0f, y / 240.0f - 1.0f, w / 320.0f, h / 240.0f);
}

void EngTextureDX9::SetDefaultTextureCoordinates()
{
    if (m_width > 0 && m_height > 0) {
        // Half a texel in from each edge.
        m_tex_coords[0] = 0.5f / static_cast<float>(m_width);
        m_tex_coords[1] = 0.5f / static_cast<float>(m_height);
        m_tex_coords[2] = 1.0f - m_tex_coords[0];
        m_tex_coords[3] = 1.0f - m_tex_coords[1];
        m_coords_pending = true;
    } else {
        m_tex_coords[0] = m_tex_coords[1] = 0.0f;
        m_tex_coords[2] = m_tex_coords[3] = 1.0f;
        m_coords_pending = false;
    }
}

void EngTextureDX9::SetTextureCoordinates(float u0, float v0, float u1, float v1)
{
    if (!m_created)
        return;
    m_quad.SetTextureCoordinates(u0, v0, u1, v1);
    m_tex_coords[0] = u0;
    m_tex_coords[1] = v0;
    m_tex_coords[2] = u1;
    m_tex_coords[3] = v1;
    m_coords_pending = false;
}

void EngTextureDX9::Draw()
{
    if (!m_created)
        return;
    if (m_coords_pending) {
        m_quad.SetTextureCoordinates(m_tex_coords[0], m_tex_coords[1], m_tex_coords[2], m_tex_coords[3]);
        m_coords_pending = false;
    }
    if (m_texture && eng_d3d_device)
        m_quad.Draw();
}

void EngTextureDX9::TextureBufferSetColour(float r, float g, float b, float a, bool force)
{
    if (!m_created || !m_quad.IsCreated())
        return;
    if (!m_coloured) {
        if (!force && r == 1.0f && g == 1.0f && b == 1.0f && a == 1.0f)
            return;
        // The quad is made again with a colour in its vertices, keeping where
        // it was and what it showed.
        const _EngVertexBufferType type = m_quad.GetType();
        const unsigned char mode = m_quad.GetPositionMode();
        float position[4], coords[4], normal[3];
        std::memcpy(position, m_quad.GetPositionCache(), sizeof(position));
        std::memcpy(coords, m_quad.GetTextureCoordinateCache(), sizeof(coords));
        std::memcpy(normal, m_quad.GetNormalCache(), sizeof(normal));
        _Vector3d plane_a, plane_b;
        m_quad.GetPlaneCache(&plane_a, &plane_b);

        _EngVertexBufferType coloured = type;
        switch (type) {
        case EVBT_POS_TEX: coloured = EVBT_POS_COL_TEX; break;
        case EVBT_POS_NORM_TEX:
            coloured = EVBT_POS_NORM_COL_TEX;
            m_normals = true;
            break;
        // Pre-transformed quads are never lit, so their vertex colour shows.
        case EVBT_POS_TEX_2D: coloured = EVBT_POS_COL_TEX_2D; break;
        default: DebugErrorCode("EngTextureDX9::TextureBufferSetColour", 'IERR'); break;
        }
        m_quad.Destroy();
        if (!m_quad.Create(coloured, m_owner))
            return;
        if (mode == ENG_VB_POSITION_RECT)
            m_quad.SetPosition(position[0], position[1], position[2], position[3]);
        else
            m_quad.SetPositions3dVec3(static_cast<char>(mode), &plane_a, &plane_b);
        m_quad.SetTextureCoordinates(coords[0], coords[1], coords[2], coords[3]);
        // Default coordinates still pending reach the new quad at the next draw.
        if (m_normals)
            m_quad.SetNormal(normal[0], normal[1], normal[2]);
        m_coloured = true;
    }
    m_quad.SetColour(r, g, b, a);
}

void EngTextureDX9::DrawStretchedWithCorners(float cw, float ch, float cu, float cv, char draw_centre)
{
    if (!m_created)
        return;
    // The quad's rectangle back in 640 x 480 units.
    float X, Y, W, H;
    if (m_2d) {
        X = m_quad_rect[0] / eng_screen_ratio_x;
        Y = m_quad_rect[1] / eng_screen_ratio_y;
        W = m_quad_rect[2] / eng_screen_ratio_x;
        H = m_quad_rect[3] / eng_screen_ratio_y;
    } else {
        X = (m_quad_rect[0] + 1.0f) * 320.0f;
        Y = (m_quad_rect[1] + 1.0f) * 240.0f;
        W = m_quad_rect[2] * 320.0f;
        H = m_quad_rect[3] * 240.0f;
    }
    const bool pending = m_coords_pending;
    const float u0 = m_tex_coords[0], v0 = m_tex_coords[1], u1 = m_tex_coords[2], v1 = m_tex_coords[3];

    // A part of no size is left out rather than drawn where the last one was.
    auto part = [this](float x, float y, float w, float h, float pu0, float pv0, float pu1, float pv1) {
        if (w == 0.0f || h == 0.0f)
            return;
        PositionRatioed(x, y, w, h);
        SetTextureCoordinates(pu0, pv0, pu1, pv1);
        Draw();
    };
    part(X, Y, cw, ch, u0, v0, u0 + cu, v0 + cv);
    part(X + cw, Y, W - 2 * cw, ch, u0 + cu, v0, u1 - cu, v0 + cv);
    part(X + W - cw, Y, cw, ch, u1 - cu, v0, u1, v0 + cv);
    if (2 * ch < H) {
        const float y = Y + ch, h = H - 2 * ch;
        part(X, y, cw, h, u0, v0 + cv, u0 + cu, v1 - cv);
        if (draw_centre)
            part(X + cw, y, W - 2 * cw, h, u0 + cu, v0 + cv, u1 - cu, v1 - cv);
        part(X + W - cw, y, cw, h, u1 - cu, v0 + cv, u1, v1 - cv);
    }
    const float y = Y + H - ch;
    part(X, y, cw, ch, u0, v1 - cv, u0 + cu, v1);
    part(X + cw, y, W - 2 * cw, ch, u0 + cu, v1 - cv, u1 - cu, v1);
    part(X + W - cw, y, cw, ch, u1 - cu, v1 - cv, u1, v1);

    PositionRatioed(X, Y, W, H);
    if (pending)
        SetDefaultTextureCoordinates();
    else
        SetTextureCoordinates(u0, v0, u1, v1);
}

bool EngTextureDX9::SetDx9D3dDeviceTextureToTexture()
{
    if (!m_created || !m_texture || !eng_d3d_device)
        return false;
    return EngUtilsDX9_CheckResult("EngTextureDX9::SetDx9D3dDeviceTextureToTexture", "SetTexture",
                                   eng_d3d_device->SetTexture(0, m_texture));
}

// ---------------------------------------------------------------------------
// The front object.

namespace {

// The part, when the device kind is Direct3D 9 and it exists.
EngTextureDX9 *PartOf(EngTextureDX9 *dx9)
{
    return eng_device_type == EDT_DX9 ? dx9 : nullptr;
}

} // namespace

EngTexture::EngTexture() : m_dx9(nullptr)
{
    Create();
}

EngTexture::~EngTexture()
{
    Destroy();
    delete m_dx9;
}

bool EngTexture::Create()
{
    if (eng_device_type != EDT_DX9 || m_dx9)
        return true;
    m_dx9 = new (std::nothrow) EngTextureDX9(this);
    if (!m_dx9) {
        DebugError("EngTexture::Create", "No memory (DX9)");
        return false;
    }
    return true;
}


bool EngTexture::LoadFromFile(const char *path, char alpha, char alpha_type, char)
{
    if (!Create() || !PartOf(m_dx9))
        return false;
    return m_dx9->DoLoadFromFile(path, alpha, alpha_type, 0, 0);
}

bool EngTexture::LoadFromFileUsingExt(const char *path, char alpha, char alpha_type, _EngTextureFileExt dat_kind,
                                      char unused)
{
    if (!Create() || !PartOf(m_dx9))
        return false;
    return m_dx9->LoadFromFileUsingExt(path, alpha, alpha_type, dat_kind, unused);
}

bool EngTexture::CreateEmptyTexture(int *width, int *height, char alpha)
{
    if (!Create() || !PartOf(m_dx9))
        return false;
    return m_dx9->DoCreateEmptyTexture(width, height, alpha, 0, 0, 0);
}

bool EngTexture::CreateEmpty2DTexture(int *width, int *height, char alpha)
{
    if (!Create() || !PartOf(m_dx9))
        return false;
    return m_dx9->DoCreateEmptyTexture(width, height, alpha, 1, 0, 0);
}

void EngTexture::Destroy()
{
    if (m_dx9)
        m_dx9->DestroyTexture();
}

bool EngTexture::IsCreated() const
{
    return PartOf(m_dx9) && m_dx9->IsCreated();
}

int EngTexture::GetWidth() const
{
    return PartOf(m_dx9) ? m_dx9->GetWidth() : 0;
}

int EngTexture::GetHeight() const
{
    return PartOf(m_dx9) ? m_dx9->GetHeight() : 0;
}

void EngTexture::PositionPure(float x, float y, float w, float h)
{
    if (PartOf(m_dx9))
        m_dx9->PositionPure(x, y, w, h);
}

void EngTexture::PositionRatioed(float x, float y, float w, float h)
{
    if (PartOf(m_dx9))
        m_dx9->PositionRatioed(x, y, w, h);
}

void EngTexture::PositionRatioedUsingInts(int x, int y, int w, int h)
{
    PositionRatioed(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w), static_cast<float>(h));
}

void EngTexture::PositionRatioedToDimension(const _Dimension *dimension)
{
    if (dimension)
        PositionRatioed(dimension->x, dimension->y, dimension->w, dimension->h);
}

void EngTexture::SetTextureCoordinatesStruct(const _Dimension *coordinates)
{
    if (!PartOf(m_dx9) || !m_dx9->IsCreated())
        return;
    if (coordinates)
        m_dx9->SetTextureCoordinates(coordinates->x, coordinates->y, coordinates->w, coordinates->h);
    else
        m_dx9->SetDefaultTextureCoordinates();
}

void EngTexture::SetColour(float r, float g, float b, float a)
{
    if (PartOf(m_dx9))
        m_dx9->TextureBufferSetColour(r, g, b, a, false);
}

void EngTexture::SetColourRGBA(const _ColourRGBA *colour)
{
    if (colour)
        SetColour(colour->r, colour->g, colour->b, colour->a);
    else
        SetColour(1.0f, 1.0f, 1.0f, 1.0f);
}

void EngTexture::SetAlpha(float a)
{
    SetColour(1.0f, 1.0f, 1.0f, a);
}

void EngTexture::Draw()
{
    if (PartOf(m_dx9))
        m_dx9->Draw();
}

void EngTexture::DrawWithTextureCoordinates(float u0, float v0, float u1, float v1)
{
    if (!PartOf(m_dx9))
        return;
    m_dx9->SetTextureCoordinates(u0, v0, u1, v1);
    m_dx9->Draw();
}

void EngTexture::DrawWithTextureCoordinatesStruct(const _Dimension *coordinates)
{
    SetTextureCoordinatesStruct(coordinates);
    Draw();
}

void EngTexture::DrawWithTextureCoordinatesAndColour(float u0, float v0, float u1, float v1, float r, float g,
                                                     float b, float a)
{
    if (!PartOf(m_dx9))
        return;
    m_dx9->SetTextureCoordinates(u0, v0, u1, v1);
    m_dx9->TextureBufferSetColour(r, g, b, a, false);
    m_dx9->Draw();
}

void EngTexture::DrawWithTextureCoordinatesAndColourAlt(float u0, float v0, float u1, float v1, float r, float g,
                                                        float b, float a)
{
    DrawWithTextureCoordinatesAndColour(u0, v0, u1, v1, r, g, b, a);
}

void EngTexture::DrawWithTextureCoordinatesAndColourRGBA(float u0, float v0, float u1, float v1,
                                                         const _ColourRGBA *colour)
{
    const _ColourRGBA white = {1.0f, 1.0f, 1.0f, 1.0f};
    if (!colour)
        colour = &white;
    DrawWithTextureCoordinatesAndColour(u0, v0, u1, v1, colour->r, colour->g, colour->b, colour->a);
}

void EngTexture::DrawWithColour(float r, float g, float b, float a)
{
    if (!PartOf(m_dx9))
        return;
    m_dx9->TextureBufferSetColour(r, g, b, a, false);
    m_dx9->Draw();
}

void EngTexture::DrawStretchedWithCorners(float corner_w, float corner_h, float corner_u, float corner_v,
                                          char draw_centre)
{
    if (PartOf(m_dx9))
        m_dx9->DrawStretchedWithCorners(corner_w, corner_h, corner_u, corner_v, draw_centre);
}

bool EngTexture::SetDx9D3dDeviceTextureToTexture()
{
    return PartOf(m_dx9) && m_dx9->SetDx9D3dDeviceTextureToTexture();
}

bool EngTexture::CopyPartFromAnotherTexture(EngTexture *from, float fx, float fy, float fw, float fh, float tx,
                                            float ty, float tw, float th, char blend,
                                            const _EngTextureCopyPartSettings *settings)
{
    return PartOf(m_dx9) && m_dx9->CopyPartFromAnotherTexture(from, fx, fy, fw, fh, tx, ty, tw, th, blend, settings);
}

bool EngTexture::CopyPartFromAnotherTextureUsingInts(EngTexture *from, int fx, int fy, int fw, int fh, int tx,
                                                     int ty, int tw, int th, char blend,
                                                     const _EngTextureCopyPartSettings *settings)
{
    return CopyPartFromAnotherTexture(from, static_cast<float>(fx), static_cast<float>(fy), static_cast<float>(fw),
                                      static_cast<float>(fh), static_cast<float>(tx), static_cast<float>(ty),
                                      static_cast<float>(tw), static_cast<float>(th), blend, settings);
}

