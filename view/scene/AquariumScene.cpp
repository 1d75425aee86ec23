// SPDX-License-Identifier: MIT
#include "view/scene/AquariumScene.h"

#include "environment/AssetStore.h"
#include "environment/Backdrop.h"
#include "environment/BackgroundPicture.h"
#include "environment/BuiltinTextures.h"
#include "environment/FastPicture.h"
#include "environment/RippleGrid.h"
#include "environment/TextureLoader.h"
#include "fish/Feeding.h"
#include "fish/FishPicker.h"
#include "fish/SlotAssignment.h"
#include "platform/GlFeatures.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "settings/ProgramValues.h"
#include "settings/ReadSettings.h"
#include "view/scene/GlPassScope.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {
const GLfloat kLightPosition[4] = {1000.0f, -1000.0f, 1000.0f, 1.0f};
const GLfloat kFogColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
}  // namespace

AquariumScene::AquariumScene(ProgramValues& values)
    : m_values(values), m_picturePlan(std::make_unique<PicturePlan>())
{
}
AquariumScene::AquariumScene() : AquariumScene(Program()) {}
AquariumScene::~AquariumScene() = default;

void AquariumScene::SetScreenSize(int width, int height)
{
    m_screen.width = width;
    m_screen.height = height;
    m_screen.resolutionIndex = ResolutionIndexFor(width, height);
}

bool AquariumScene::InitScene()
{
    SetFixedGlState();
    const std::string assetDirectory = AssetStore::GetAssetDirectory();
    m_tank = ComputeTankBoxFor(m_screen.width, m_screen.height);
    if (Paths::TempDirectory().empty()) {
        ShowMessageBox("Error Find TempPath.", "ERROR");
        return false;
    }
    // The built-in art: each picture is extracted, loaded and deleted in turn.
    m_backgroundTexture = BuiltinTextures::LoadBackground(assetDirectory);
    BuiltinTextures::LoadFish(assetDirectory, m_fishTextures);
    m_fishOpaque = std::all_of(std::begin(m_fishTextures), std::end(m_fishTextures), TextureIsOpaque);
    AssetStore::ReleaseAssetDirectory(assetDirectory);
    // Everything from here on sees the values of the settings file.
    ReadSettings(m_values, !m_settingsReadOnly);
    // Fish placement: all 20 slots, inactive ones too, so a slot that
    // becomes active later starts inside the tank. Needs the tank box and
    // comes after the settings.
    for (Fish& fish : m_fish)
        fish.Place(m_tank);
    m_pickStrips.Setup(m_tank);
    m_pRipple = std::make_unique<RippleGrid>();
    m_pRipple->Setup(m_screen.width, m_screen.height);
    m_stillGrid = std::make_unique<RippleGrid>();
    if (GlFeatures::OfCurrentContext().FastPicture()) {
        m_fastPicture = std::make_unique<FastPicture>();
        if (!m_fastPicture->Init())
            m_fastPicture.reset();
    }
    // The fixed-function path keeps every face: its pixels are the reference
    // the fast path is measured against.
    m_fishRenderer.SetCullHiddenBodyFaces(m_fastPicture != nullptr);
    m_fishRenderer.SetIndexedDraw(m_fastPicture != nullptr);
    for (FoodFlake& flake : m_flakes)
        flake.Reset();
    m_flakeRenderer.CompileShape();
    SetupFog();
    return true;
}

void AquariumScene::Release()
{
    std::vector<GLuint> textures(std::begin(m_fishTextures), std::end(m_fishTextures));
    textures.push_back(m_backgroundTexture);
    glDeleteTextures(GLsizei(textures.size()), textures.data());  // name 0 is ignored
    m_backgroundTexture = 0;
    for (unsigned& texture : m_fishTextures)
        texture = 0;
    m_flakeRenderer.Release();
    m_pRipple.reset();
    if (m_fastPicture)
        m_fastPicture->Release();
    m_fastPicture.reset();
}

void AquariumScene::OwnedGlNames(std::vector<unsigned>& textures, std::vector<unsigned>& lists) const
{
    textures.assign(std::begin(m_fishTextures), std::end(m_fishTextures));
    textures.push_back(m_backgroundTexture);
    lists.assign(1, m_flakeRenderer.DisplayList());
}

void AquariumScene::SetFixedGlState()
{
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glLightfv(GL_LIGHT1, GL_AMBIENT, m_lightAmbient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, m_lightDiffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, kLightPosition);
    glEnable(GL_LIGHT1);
    glEnable(GL_COLOR_MATERIAL);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Everything drawn with alpha 0 is invisible, and black-keyed texels of
    // the background picture are see-through; nothing changes this later.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void AquariumScene::SetupFog()
{
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogfv(GL_FOG_COLOR, kFogColor);
    glFogf(GL_FOG_DENSITY, 0.5f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, -10.0f);
    glFogf(GL_FOG_END, 100.0f);
    glEnable(GL_FOG);
}

void AquariumScene::Resize(int width, int height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(width) / double(height), 0.1, 400.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (m_pRipple)
        m_pRipple->Setup(width, height);
}

void AquariumScene::FitToScreen(int width, int height)
{
    SetScreenSize(width, height);
    m_screen.resolutionIndex = ResolutionIndexByShape(width, height);
    m_tank = ComputeTankBoxFor(width, height);
    m_pickStrips.Setup(m_tank);
}

// The frame's recipe. Camera and light, the backdrop, the fog, each fish's
// step and draw, the picture, the flakes, then the pick passes of the
// current mouse mode.
//
// The picture lies behind every fish, and the depth test let each fish hide
// it. When every fish pixel is opaque the same frame comes out of drawing the
// picture first, without the depth test, and the fish over it. That rests on
// no fish ever being behind the picture (z = -110): the fish keep to their
// depth, -98..-85, and give up none beyond its walls (see Fish); a fish
// behind the picture would show over it in this order. The backdrop
// is then needed only where the picture lets it show. Both save a pass over
// most of the screen. The drop and the ripple update keep their place after
// the fish, so every random draw comes at the same moment as before.
//
// Where the GL offers the fast path, the picture first comes from a still of
// it, drawn again only when what shapes it changes, sampled through the
// ripple on the renderer's linear path (FastPicturePass); in a window
// without a depth buffer the fish go into the fast path's layer over the
// picture drawn in place (LayeredFrame), or, where the picture is not under
// every fish, the whole frame is drawn in the fast path's own target and
// copied over at the end. Without it every pixel is the fixed-function
// drawing's.
void AquariumScene::RenderFrame()
{
    if (LayeredFrame()) {
        ModePasses();
        glFinish();
        return;
    }
    // In a framebuffer without a depth buffer the frame is drawn in the fast
    // path's own target and copied over at the end.
    const bool ownTarget = m_fastPicture && m_fastPicture->BeginFrame(m_screen.width, m_screen.height);
    ApplyProjectionAndCamera();
    glViewport(0, 0, m_screen.width, m_screen.height);
    // The fast picture replaces every pixel; nothing needs the colour clear.
    const bool fastPicture = PictureUnderFish() && m_fastPicture;
    glClear(fastPicture ? GL_DEPTH_BUFFER_BIT : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ApplyLight();
    if (PictureUnderFish()) {
        if (!FastPicturePass()) {
            if (fastPicture)
                glClear(GL_COLOR_BUFFER_BIT);
            PlanPicturePass();
            PlannedBackdropPass();
            ApplyFog();
            PictureUnderFishPass();
        }
        FishPass();
        RipplePass();
    } else {
        DrawBackdropPass();
        ApplyFog();
        FishPass();
        if (PictureShown())
            PicturePass();
    }
    glDisable(GL_LIGHTING);
    FoodPass();
    if (ownTarget && m_fastPicture)
        m_fastPicture->EndFrame();
    ModePasses();
    glFinish();
}

// The frame on the fast path in a window without a depth buffer while the
// picture lies under every fish, or no picture is shown and every fish is
// opaque: what lies behind the fish (the rippled picture, or the still of
// the backdrop alone) straight into the window, the fish and the flakes
// into the fast path's layer, which is laid over it only within the
// rectangles they were drawn in. Nothing else is copied or cleared, and the
// passes come in the same order as in the other recipes. False, with
// nothing drawn, where this is not possible.
bool AquariumScene::LayeredFrame()
{
    const bool picture = PictureUnderFish();
    const bool backdropOnly = !PictureShown() && m_fishOpaque;
    double columnX[PictureCover::kLines], rowY[PictureCover::kLines];
    if (!m_fastPicture || !m_fishLayerAllowed || !(picture || backdropOnly) ||
        (picture && !PictureLinesOnWindow(*m_pRipple, m_screen.resolutionIndex, columnX, rowY)) ||
        !m_fastPicture->BeginLayer(m_screen.width, m_screen.height))
        return false;
    ApplyProjectionAndCamera();
    glViewport(0, 0, m_screen.width, m_screen.height);
    ApplyLight();
    m_layerBounds.Clear();
    const bool behind =
        PrepareStill() &&
        (picture ? m_fastPicture->DrawRippledInPlace(*m_pRipple, columnX, rowY, m_screen.width, m_screen.height)
                 : m_fastPicture->DrawStillInPlace(m_screen.width, m_screen.height));
    if (!behind) {
        m_fastPicture->EndLayer(m_layerBounds);
        return false;
    }
    m_fishRenderer.SetBounds(&m_layerBounds);
    m_flakeRenderer.SetBounds(&m_layerBounds);
    // Every fish and flake is opaque here, so blending could change nothing
    // in the layer; without it the renderer writes each fragment instead of
    // reading the layer back first.
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    FishPass();
    if (picture)
        RipplePass();
    glDisable(GL_LIGHTING);
    FoodPass();
    glPopAttrib();
    m_fishRenderer.SetBounds(nullptr);
    m_flakeRenderer.SetBounds(nullptr);
    m_fastPicture->EndLayer(m_layerBounds);
    return true;
}

void AquariumScene::ModePasses()
{
    if (m_mode == CMD_FEED)
        FeedModePass();
    if (m_mode == CMD_TOUCH || m_mode == CMD_ZOOMIN || m_mode == CMD_ZOOMOUT)
        FishPickPass();
}

bool AquariumScene::PictureShown() const
{
    const AquariumSettingsValues& settings = m_values.aquarium;
    return settings.background == 0 && settings.showTerra != 0;
}

bool AquariumScene::PictureUnderFish() const
{
    return PictureShown() && m_pRipple && m_fishOpaque && m_pictureFirstAllowed;
}

int AquariumScene::ActiveFish(int (&speciesOfSlot)[kMaxFish]) const
{
    return AssignSpeciesToSlots(m_values.speciesCount, speciesOfSlot);
}

void AquariumScene::ApplyProjectionAndCamera()
{
    const double w = m_screen.width > 0 ? m_screen.width : 1;
    const double h = m_screen.height > 0 ? m_screen.height : 1;
    const double k = kFrustumK;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (w > h)
        glFrustum(-k * w / h, k * w / h, -k, k, 1.0, 1000.0);
    else
        glFrustum(-k, k, -k * h / w, k * h / w, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, kEyeZ, 0.0, 0.0, -500.0, 0.0, 1.0, 0.0);
}

void AquariumScene::ApplyLight()
{
    // L = 0 is full light, L = 100 is dark.
    const float v = float(100 - m_values.aquarium.light) * 0.01f;
    for (int c = 0; c < 3; ++c) {
        m_lightAmbient[c] = v;
        m_lightDiffuse[c] = v;
    }
    glLightfv(GL_LIGHT1, GL_AMBIENT, m_lightAmbient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, m_lightDiffuse);
    glEnable(GL_LIGHTING);
}

void AquariumScene::ApplyFog()
{
    // F = 25 gives no fog, F = 0 the densest.
    // A density of 0 leaves every colour as it is, so the fog stays off then:
    // the same picture without the per-pixel fog cost.
    glDisable(GL_FOG);
    const float density = float(25 - m_values.aquarium.fog) * 0.0005f;
    glFogf(GL_FOG_DENSITY, density);
    if (density > 0.0f)
        glEnable(GL_FOG);
}

void AquariumScene::DrawBackdropPass()
{
    GlPassScope scope;
    DrawBackdrop(m_tank, m_values.aquarium);
}

// Every active fish in slot order: its behaviour step, its draw from the pose
// that step left, with its species' texture, then the reactions to the food
// and to the others; finally the vertical separation over all of them.
void AquariumScene::FishPass()
{
    GlPassScope scope;
    // The fish are lit by their texture as it is: white, whatever the
    // passes before left as the colour.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    int speciesOfSlot[kMaxFish];
    const int active = ActiveFish(speciesOfSlot);
    for (int i = 0; i < active; ++i) {
        Fish& fish = m_fish[i];
        fish.Step();
        m_fishRenderer.Draw(fish.DrawPose(), m_fishTextures[speciesOfSlot[i]]);
        // Out of feed mode the attraction is left as it was, so a fish
        // that was following food keeps off its wander decisions.
        if (m_mode == CMD_FEED)
            Feeding::FoodAttraction(fish, m_flakes, FoodFlake::kSlots);
        Feeding::FoodEating(fish, m_flakes, FoodFlake::kSlots);
        FishSchool::AvoidCollisions(m_fish, active, i);
        m_fishSchool.RecordPosition(i, fish);
    }
    m_fishSchool.Separate(m_fish, active);
}

// A drop falls, the picture is drawn over the grid, the ripple advances.
void AquariumScene::PicturePass()
{
    if (!m_pRipple)
        return;
    GlPassScope scope;
    AddPictureDrop(*m_pRipple, m_screen.width, m_screen.height);
    DrawPicture(*m_pRipple, PictureTexture(), m_screen.resolutionIndex, m_screen.width, m_screen.height);
    m_pRipple->Update();
}

unsigned AquariumScene::PictureTexture() const
{
    // A ticked own-image box with no picture yet shows the built-in one
    // rather than a blank white sheet.
    const bool own = m_values.ownImageOn && m_customImageTexture != 0;
    return own ? m_customImageTexture : m_backgroundTexture;
}

void AquariumScene::SetCustomImageTexture(unsigned texture)
{
    // A name may come back for a new picture once the old one was deleted.
    if (texture != m_customImageTexture && m_fastPicture)
        m_fastPicture->ForgetStill();
    m_customImageTexture = texture;
}

std::vector<double> AquariumScene::StillKey() const
{
    const AquariumSettingsValues& a = m_values.aquarium;
    // The backdrop is drawn before this frame's fog is applied, so it takes
    // the fog GL has now.
    GLfloat fogNow = 0.0f;
    glGetFloatv(GL_FOG_DENSITY, &fogNow);
    return {double(PictureShown()), double(PictureTexture()), double(m_screen.width), double(m_screen.height),
            double(m_screen.resolutionIndex), double(a.light), double(a.fog),
            double(glIsEnabled(GL_FOG)), double(fogNow), double(a.backFixed), double(a.backColor),
            double(a.backGradual), double(a.backColor1), double(a.backColor2), double(m_tank.xMin),
            double(m_tank.xMax), double(m_tank.yMin), double(m_tank.yMax), double(m_tank.zBack)};
}

bool AquariumScene::FastPicturePass()
{
    if (!m_fastPicture || !m_pRipple)
        return false;
    double columnX[PictureCover::kLines], rowY[PictureCover::kLines];
    if (!PictureLinesOnWindow(*m_pRipple, m_screen.resolutionIndex, columnX, rowY))
        return false;
    if (!PrepareStill())
        return false;
    if (m_fastPicture->DrawRippled(*m_pRipple, columnX, rowY, m_screen.width, m_screen.height))
        return true;
    // The GL refused a target: the picture is drawn fixed-function this
    // time, and the still made again next time.
    m_fastPicture->ForgetStill();
    glClear(GL_COLOR_BUFFER_BIT);
    PlanPicturePass();
    PlannedBackdropPass();
    PictureUnderFishPass();
    return true;
}

// The still (the backdrop and, when shown, the unrippled picture) made
// again when what shapes it has changed; the frame's fog applied either way.
// False when the fast path cannot make it.
bool AquariumScene::PrepareStill()
{
    const std::vector<double> key = StillKey();
    if (!m_fastPicture->StillCurrent(key)) {
        if (!m_fastPicture->BeginStill(m_screen.width, m_screen.height))
            return false;
        DrawBackdropPass();
        ApplyFog();
        if (PictureShown())
            StillPicturePass();
        m_fastPicture->EndStill(key);
    } else {
        ApplyFog();
    }
    return true;
}

void AquariumScene::StillPicturePass()
{
    GlPassScope scope;
    glDisable(GL_DEPTH_TEST);
    DrawPicture(*m_stillGrid, PictureTexture(), m_screen.resolutionIndex, m_screen.width, m_screen.height);
}

void AquariumScene::PlanPicturePass()
{
    if (!m_pRipple)
        return;
    GlPassScope scope;
    PlanPicture(*m_pRipple, PictureTexture(), m_screen.resolutionIndex, m_screen.width, m_screen.height,
                *m_picturePlan);
}

void AquariumScene::PlannedBackdropPass()
{
    GlPassScope scope;
    DrawBackdropIn(m_tank, m_values.aquarium, m_picturePlan->backdrop);
}

void AquariumScene::PictureUnderFishPass()
{
    if (!m_pRipple)
        return;
    GlPassScope scope;
    // Nothing is in front of the picture yet, and nothing drawn later lies
    // behind it.
    glDisable(GL_DEPTH_TEST);
    DrawPlannedPicture(*m_pRipple, *m_picturePlan, PictureTexture(), m_screen.resolutionIndex,
                       m_screen.width, m_screen.height);
}

void AquariumScene::RipplePass()
{
    if (!m_pRipple)
        return;
    AddPictureDrop(*m_pRipple, m_screen.width, m_screen.height);
    m_pRipple->Update();
}

void AquariumScene::FoodPass()
{
    GlPassScope scope;
    for (FoodFlake& flake : m_flakes) {
        if (!flake.Active())
            continue;
        flake.Update();
        m_flakeRenderer.Draw(flake.Pose());
    }
}

// The strips sway, then a pending click is turned into a drop once both of
// its coordinates have been found. Nothing is drawn.
void AquariumScene::FeedModePass()
{
    GlPassScope scope;
    m_pickStrips.Sweep();
    float x = 0.0f;
    float y = 0.0f;
    if (m_feedClickPending && m_feedPicker.Pick(m_pickStrips, m_tank, m_mouseX, m_mouseY, x, y)) {
        m_feedClickPending = false;
        // The picked point lies in the strips' plane; the flake goes where
        // the same line of sight meets the fishes' depth, under the pointer.
        const float scale = (kEyeZ - FoodFlake::kDropDepth) / (kEyeZ - PickStrips::kQuadDepth);
        DropFlake(x * scale, y * scale);
    }
}

int AquariumScene::DropFlake(float x, float y)
{
    for (int slot = 0; slot < FoodFlake::kSlots; ++slot) {
        if (m_flakes[slot].Active())
            continue;
        m_flakes[slot].Drop(x, y - 2.0f, FoodFlake::kDropDepth);
        return slot;
    }
    return -1;
}

// One attempt per press, whether the button is still held or was released
// before this frame (a quick click or a touchpad tap lasts less than a tick).
void AquariumScene::FishPickPass()
{
    if (!m_pickPending)
        return;
    m_pickPending = false;
    m_buttonDown = false;
    GlPassScope scope;
    int speciesOfSlot[kMaxFish];
    const int active = ActiveFish(speciesOfSlot);
    FishPicker::PickFish(m_fish, active, m_fishRenderer, m_mouseX, m_mouseY, m_mode);
}

AquariumScene::TickAction AquariumScene::PollCommand(int& command)
{
    m_mode = command;
    if (m_mode == CMD_MUSIC) {
        command = m_mode = CMD_NONE;
        return TickAction::ShowMusicDialog;
    }
    if (m_mode == CMD_IMAGE) {
        command = m_mode = CMD_NONE;
        return TickAction::ShowImageDialog;
    }
    if (m_mode == CMD_EXIT)
        return TickAction::Exit;
    return TickAction::None;
}

AquariumScene::MusicAction AquariumScene::HandOverMusic()
{
    ProgramValues& values = m_values;
    if (values.customMusicPlaying) {
        values.builtinMusicPending = true;
        return MusicAction::StopBuiltin;
    }
    if (values.builtinMusicPending) {
        values.builtinMusicPending = false;
        return MusicAction::RestartBuiltin;
    }
    return MusicAction::None;
}

void AquariumScene::OnLeftButtonDown(int x, int y)
{
    m_mouseX = x;
    m_mouseY = y;
    ++m_pressCount;
    m_buttonDown = true;
    if (m_mode == CMD_FEED)
        m_feedClickPending = true;
    m_pickPending = m_mode == CMD_TOUCH || m_mode == CMD_ZOOMIN || m_mode == CMD_ZOOMOUT;
}

void AquariumScene::OnLeftButtonUp(int, int)
{
    // In touch mode the button stays down until the touch pass consumes it.
    // In every other mode a release clears it, including the no-mode state
    // after a dialog: a click made then must not act as a touch or zoom at
    // its old place once a mode is picked on the bar.
    if (m_mode != CMD_TOUCH)
        m_buttonDown = false;
}

void AquariumScene::OnMouseMove(int x, int y)
{
    m_mouseX = x;
    m_mouseY = y;
}

int AquariumScene::ModeCursorId() const
{
    switch (m_mode) {
    case CMD_TOUCH: return m_buttonDown ? 159 : 158;
    case CMD_FEED: return m_buttonDown ? 164 : 163;
    case CMD_ZOOMIN: return m_buttonDown ? 177 : 167;
    case CMD_ZOOMOUT: return m_buttonDown ? 178 : 169;
    default: return 0;
    }
}
