// SPDX-License-Identifier: MIT
#pragma once

// Direction rules shared by the swimming, feeding and avoidance code.
// Angles are in degrees and are never wrapped: a heading may run from -360
// to 360, and both halves of that range map onto the same directions.
//
// A heading h turns the model's nose (-1, 0, 0) to (-cos h, -sin h, 0) in
// model space, which is (-cos h, 0, sin h) in the world (the model's z is
// the world's up): heading 0 swims towards -x, heading 90 towards +z (the
// viewer).

// True when a fish with heading `degrees` moves towards negative x: for
// [0, 90], [270, 360], [-90, 0] and [-360, -270], bounds included.
bool FacesMinusX(float degrees);

// True when a fish with heading `degrees` moves towards positive z (towards
// the viewer): for [0, 180] and [-360, -180], bounds included.
bool FacesPlusZ(float degrees);

// True when a heading has a share of its motion along +z (or -z): the open
// ranges (0, 180) and (-360, -180) (or (180, 360) and (-180, 0)). The x
// headings 0, +-180 and +-360 move along neither; FacesPlusZ counts some of
// them as facing +z, which is too loose for a wall that must be left.
bool HeadsIntoPlusZ(float degrees);
bool HeadsIntoMinusZ(float degrees);

// Slope rise / run of a line; a run below 0.0001 in magnitude counts as
// 0.0001, so a vertical line gets the slope rise * 10000.
float LineSlope(float rise, float run);

// The angle in degrees (0..90) between two lines given by their slopes:
// atan(|(m2 - m1) / (1 + m1 m2)|), or atan(|(m2 - m1) * 10000|) when the
// lines are (nearly) perpendicular, |1 + m1 m2| <= 0.0001.
float AngleBetweenLines(float m1, float m2);
