// Layout of one command of the draw list m_DrawList: the drawing methods record it with
// the drawing state of the moment and the render replays it, so each is self-contained.
#pragma once

constexpr int kDrawCmdFloats = 15;
constexpr int kDrawListFloats = 37500;  // 2500 commands

// Kinds of command other than pictures (a picture command's kind is its slot, >= 0).
constexpr float kCmdRect = -3717.0f;
constexpr float kCmdOval = -3716.0f;
constexpr float kCmdLine = -3715.0f;

namespace draw_command {

// Offsets within a command; 8, 9 and 14 are never written.
enum Field {
    kKind = 0,
    kX = 1,  // picture and oval: centre; rectangle: top left; line: first end
    kY = 2,
    kRotation = 3,  // degrees, stored negated; only pictures turn
    kWidth = 4,     // picture: horizontal scale; rectangle: width; oval: x radius; line: second end
    kHeight = 5,    // picture: vertical scale; rectangle: height; oval: y radius; line: second end
    kFrame = 6,     // pictures
    kAlpha = 7,
    kRed = 10,
    kGreen = 11,
    kBlue = 12,  // 0..255
    kBlend = 13,
};

// What a command draws, read from its kind: render, replay order and tests decode it here.
enum class Shape { kNothing, kPicture, kRect, kOval, kLine };
inline Shape ShapeOf(float kind) {
    if (kind == kCmdRect) return Shape::kRect;
    if (kind == kCmdOval) return Shape::kOval;
    if (kind == kCmdLine) return Shape::kLine;
    return kind > -1 ? Shape::kPicture : Shape::kNothing;
}

// Blend modes (m_Blend).
constexpr int kBlendNormal = 1;
constexpr int kBlendAdditive = 3;

}  // namespace draw_command
