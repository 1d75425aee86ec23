// SPDX-License-Identifier: MIT
#pragma once

#include "base/CommandCodes.h"
#include "base/ScreenMetrics.h"
#include "base/TankBox.h"
#include "environment/ScreenBounds.h"
#include "fish/FeedPicker.h"
#include "fish/Fish.h"
#include "fish/FishRenderer.h"
#include "fish/FishSchool.h"
#include "fish/FoodFlake.h"
#include "fish/FoodFlakeRenderer.h"
#include "fish/PickStrips.h"

#include "settings/ProgramValues.h"

#include <memory>
#include <vector>

class FastPicture;
class RippleGrid;
struct PicturePlan;

// The aquarium scene: everything the view draws and animates, with no window
// system in it. The host window creates a GL context, makes it current and
// then calls InitScene once and RenderFrame on every tick; it forwards mouse
// events and acts on what PollCommand and HandOverMusic return, and calls
// Release before the context goes.
//
// The scene owns all its state. The values it draws from (settings, species
// counts, the own-image and music flags) are the ones it was built with,
// read by InitScene and changed only by their owners; two scenes built with
// two values objects are independent.
//
// Units: screen sizes and mouse positions in pixels (client area, origin top
// left); everything in the scene in world units and degrees; every speed is
// per frame.
class AquariumScene {
public:
    // What the host must do after a tick's command poll.
    enum class TickAction { None, ShowMusicDialog, ShowImageDialog, Exit };
    // What the host must do with the built-in tune after a frame.
    enum class MusicAction { None, StopBuiltin, RestartBuiltin };

    // `values` must outlive the scene; by default the program-wide values,
    // which the dialogs share.
    explicit AquariumScene(ProgramValues& values);
    AquariumScene();
    ~AquariumScene();
    AquariumScene(const AquariumScene&) = delete;
    AquariumScene& operator=(const AquariumScene&) = delete;

    // Screen metrics (the screen, not the window): classifies the size into
    // Screen().resolutionIndex. Called by the host before InitScene.
    void SetScreenSize(int width, int height);

    // Builds the scene in the current GL context: fixed GL state, tank box,
    // temp-directory check, built-in art, settings (into the scene's values),
    // fish, ripple, flakes, fog. Returns false when it stopped early (the
    // temp directory is missing); the message has then been shown.
    bool InitScene();

    // Deletes every texture and display list the scene made, in the current
    // context (the one InitScene ran in). The scene must be built again with
    // InitScene before it is drawn. Safe to call twice or without InitScene.
    void Release();
    // The textures and display lists the scene owns now (0 for none yet).
    void OwnedGlNames(std::vector<unsigned>& textures, std::vector<unsigned>& lists) const;

    // Draws one whole frame into the current context, advancing every
    // animated object by one frame. Does not swap.
    void RenderFrame();

    // The passes of a frame, in RenderFrame's order. Each leaves the GL
    // enables, the current colour and both matrix stacks as it found them.
    void DrawBackdropPass();    // the plane behind everything
    void FishPass();            // every active fish: its step, its draw, its reactions
    void PicturePass();         // drop, picture, ripple update
    // While the picture lies under the fish (PictureUnderFish) the frame
    // splits the picture pass: the plan, the backdrop where the picture
    // leaves it visible, the picture itself before the fish, and after them
    // the drop and the ripple update, at the point of the frame where the
    // whole picture pass would have run.
    void PlanPicturePass();         // judges this frame's picture (no drawing)
    void PlannedBackdropPass();     // the backdrop only where the plan says it shows
    void PictureUnderFishPass();    // the planned picture, no depth test
    void RipplePass();              // drop, ripple update
    // The picture and the backdrop on the fast path, the fog applied in
    // between as the fixed-function frame applies it: the still redrawn when
    // it no longer stands for this frame, then the ripple over it. False,
    // with nothing drawn and the fog not yet applied, when the fast path
    // cannot draw this frame.
    bool FastPicturePass();
    void FoodPass();            // every active flake: its update and draw
    void FeedModePass();        // the strips' sweep and a pending feed click
    void FishPickPass();        // a pending touch or zoom click

    // Whether the frame may draw the picture before the fish when they are
    // all opaque (see RenderFrame); on unless set off. Both orders give the
    // same pixels; tests and tools that compare them set it off.
    void SetPictureFirstAllowed(bool allowed) { m_pictureFirstAllowed = allowed; }
    // Whether a frame on the fast path in a framebuffer without a depth
    // buffer may draw the fish in the fast path's layer (see LayeredFrame);
    // on unless set off. Tests compare it with the frame drawn whole in the
    // fast path's own target.
    void SetFishLayerAllowed(bool allowed) { m_fishLayerAllowed = allowed; }
    const FastPicture* FastPath() const { return m_fastPicture.get(); }

    // Called by the host when the window is resized (pixels).
    void Resize(int width, int height);

    // For a host whose window is the whole picture (a screensaver's window of
    // any size): the window's size becomes the screen metrics, classified by
    // its shape so that the picture fills it, and the tank box and pick
    // strips follow it. Called instead of SetScreenSize before InitScene too. Fish keep their places and swim back
    // into a smaller box by themselves.
    void FitToScreen(int width, int height);

    // When set before InitScene, the settings file is read but never written
    // (a screensaver must leave the user's file exactly as it is).
    void SetSettingsReadOnly(bool readOnly) { m_settingsReadOnly = readOnly; }

    // Copies the control bar's command into m_mode and tells the host what to
    // do. Dialog codes become CMD_NONE in both the command and the mode.
    TickAction PollCommand(int& command);

    // The built-in tune follows the user's music: silent while that is on,
    // restarted exactly once after it goes off.
    MusicAction HandOverMusic();

    // Mouse handlers (client pixels).
    void OnLeftButtonDown(int x, int y);
    void OnLeftButtonUp(int x, int y);
    void OnMouseMove(int x, int y);

    // The cursor resource id for the current mode and button state, or 0 when
    // the mode has no cursor of its own.
    int ModeCursorId() const;

    // The Custom Background dialog's current picture (a texture name, 0 for
    // none), shown instead of the built-in one while ownImageOn is set.
    void SetCustomImageTexture(unsigned texture);

    // Whether the picture is drawn on the renderer's fast path (see
    // FastPicture): set up by InitScene where the GL offers render targets
    // and fragment programs and PLOVI_GL does not ask for plain 1.1.
    // Otherwise every pixel comes from fixed-function GL 1.1.
    bool FastPictureOn() const { return m_fastPicture != nullptr; }
    // Whether the frame needs a depth buffer in the framebuffer it draws
    // into. Without the fast path it does (the fish hide one another and the
    // food by it); with it a framebuffer without one is best: the picture is
    // then drawn straight into it and the fish in the fast path's layer,
    // which has one (FastPicture::BeginLayer), or the whole frame in the
    // fast path's own target, copied over at the end (FastPicture::BeginFrame).
    bool NeedsDepthBuffer() const { return !FastPictureOn(); }

    // Drops a flake at the world point (x, y - 2, drop depth) into the first free
    // slot. Returns the slot, or -1 when all ten are in use (the drop is
    // then used up without a flake).
    int DropFlake(float x, float y);

    int Mode() const { return m_mode; }
    const TankBox& Tank() const { return m_tank; }
    const ScreenMetrics& Screen() const { return m_screen; }
    int ScreenWidth() const { return m_screen.width; }
    int ScreenHeight() const { return m_screen.height; }
    int ResolutionIndex() const { return m_screen.resolutionIndex; }
    ProgramValues& Values() { return m_values; }
    bool ButtonDown() const { return m_buttonDown; }
    bool FeedClickPending() const { return m_feedClickPending; }
    // Left presses the scene has taken since it was made.
    int PressCount() const { return m_pressCount; }
    Fish& FishAt(int slot) { return m_fish[slot]; }
    FoodFlake& FlakeAt(int slot) { return m_flakes[slot]; }
    const PickStrips& Strips() const { return m_pickStrips; }
    const FeedPicker& Feeder() const { return m_feedPicker; }

    static constexpr float kEyeOffset = -5.0f;   // added to the camera's z
    static constexpr float kEyeZ = 0.0f + kEyeOffset - 5.0f;  // the camera's z
    static constexpr float kFrustumK = 0.4f;     // half height of the near plane

private:
    void SetFixedGlState();
    void SetupFog();
    void ApplyProjectionAndCamera();
    void ApplyLight();
    void ApplyFog();
    bool PictureShown() const;
    // The picture is shown and every fish texel is opaque: every fish pixel
    // then replaces what lay under it, so the picture can go first.
    bool PictureUnderFish() const;
    unsigned PictureTexture() const;   // the built-in picture or the user's
    std::vector<double> StillKey() const;   // everything that shapes the still's pixels
    void StillPicturePass();                // the unrippled picture, over the backdrop
    bool PrepareStill();
    bool LayeredFrame();
    void ModePasses();                      // the passes of the current mouse mode
    int ActiveFish(int (&speciesOfSlot)[kMaxFish]) const;

    ProgramValues& m_values;
    ScreenMetrics m_screen;
    TankBox m_tank;

    int m_mode = CMD_FEED;
    int m_mouseX = 0;
    int m_mouseY = 0;
    bool m_buttonDown = false;
    bool m_feedClickPending = false;
    // A press in touch or zoom mode that no frame has picked with yet; set
    // only in those modes, so a press made in another mode never acts later.
    bool m_pickPending = false;
    int m_pressCount = 0;
    bool m_settingsReadOnly = false;

    unsigned m_backgroundTexture = 0;
    unsigned m_customImageTexture = 0;
    std::unique_ptr<RippleGrid> m_pRipple;
    unsigned m_fishTextures[20] = {};
    bool m_fishOpaque = false;            // every fish texel opaque (judged at set-up)
    bool m_pictureFirstAllowed = true;
    bool m_fishLayerAllowed = true;
    ScreenBounds m_layerBounds;           // where this frame drew into the fish layer
    std::unique_ptr<PicturePlan> m_picturePlan;
    std::unique_ptr<FastPicture> m_fastPicture;   // null: fixed-function drawing
    std::unique_ptr<RippleGrid> m_stillGrid;      // the grid at rest, for the still
    // The fish slots: the first N are active (N the sum of the species
    // counts); the others keep their state until they are active again.
    Fish m_fish[20];
    FishSchool m_fishSchool;   // position snapshots for the separation pass
    FishRenderer m_fishRenderer;
    FoodFlake m_flakes[FoodFlake::kSlots];
    FoodFlakeRenderer m_flakeRenderer;
    PickStrips m_pickStrips;
    FeedPicker m_feedPicker;   // the coordinates of a pending feed click held so far

    float m_lightAmbient[4] = {1, 1, 1, 1};
    float m_lightDiffuse[4] = {1, 1, 1, 1};
};
