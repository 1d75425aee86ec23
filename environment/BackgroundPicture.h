// SPDX-License-Identifier: MIT
#pragma once

#include "base/PixelRect.h"
#include "environment/PictureCover.h"
#include "environment/RippleGrid.h"

#include <vector>

// Half width, in world units, of the background picture for a screen class
// 0..7 (any other class counts as 1). Together with the half height of 40 at
// 100 units in front of the eye it makes the picture fill the screen.
float BackgroundPictureScaleX(int resolutionIndex);

// One new drop near the middle of the screen (one of nine spots 50 pixels
// apart, drawn with Rand() after one draw that is thrown away). No GL.
void AddPictureDrop(RippleGrid& grid, int screenWidth, int screenHeight);

// The picture, texture (0 draws untextured), stretched over the ripple grid
// as it stands, 110 units behind the world origin, scaled to the screen
// class. Saves and restores the modelview matrix and the texture state.
void DrawPicture(const RippleGrid& grid, unsigned texture, int resolutionIndex, int screenWidth,
                 int screenHeight);

// The window pixels (from the viewport's corner) of the grid's vertex columns
// and rows with the picture placed as DrawPicture places it, under the
// current matrices and viewport. False unless the picture lies flat facing
// the eye inside the depth range, so that every cell is an upright
// rectangle on the screen.
bool PictureLinesOnWindow(const RippleGrid& grid, int resolutionIndex,
                          double (&columnX)[PictureCover::kLines], double (&rowY)[PictureCover::kLines]);

// One frame's picture judged before anything of the frame is drawn, so that
// the plane behind it can be left out where the picture will cover it.
struct PicturePlan {
    // Per cell (RippleGrid::OpaqueCells): sure to come out opaque.
    bool opaque[RippleGrid::kPolygons * RippleGrid::kPolygons] = {};
    // The window pixels (whole viewport when in doubt) where what lies
    // behind the picture can still show.
    std::vector<PixelRect> backdrop;
};

// Fills plan for the grid as it stands, placed and textured as DrawPicture
// places it, under the current matrices, viewport, blending, colour and
// lighting: the state the picture will be drawn with.
void PlanPicture(const RippleGrid& grid, unsigned texture, int resolutionIndex, int screenWidth,
                 int screenHeight, PicturePlan& plan);

// DrawPicture from a plan made for this grid, unchanged since, under the same
// state.
void DrawPlannedPicture(const RippleGrid& grid, const PicturePlan& plan, unsigned texture,
                        int resolutionIndex, int screenWidth, int screenHeight);

// The whole background picture pass of a frame: AddPictureDrop, DrawPicture,
// then the ripple advances (RippleGrid::Update). In words: texture (0 draws untextured) stretched over
// the ripple grid 110 units behind the world origin, scaled to the screen
// class. Lets one new drop fall near the middle of the screen (one of nine
// spots 50 pixels apart, drawn with Rand()), draws, then advances the ripple.
// screenWidth, screenHeight: pixels. Blending and the depth test are used as
// they stand, so black-keyed texels let the backdrop through. Saves and
// restores the modelview matrix and the texture binding.
void DrawRippledPicture(RippleGrid& grid, unsigned texture, int resolutionIndex,
                        int screenWidth, int screenHeight);
