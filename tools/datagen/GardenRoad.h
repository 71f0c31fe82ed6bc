// The road of one garden as bugs walk it: points one step length apart along
// a smooth path through the definition's control points, from off the board,
// across it, and off it again.
#pragma once

#include "tools/datagen/GardenDefinition.h"

#include <string>
#include <vector>

class GardenRoad {
public:
    // Builds the steps and checks that the road suits the game: it starts and
    // ends off the board, stays on it through the target window, fits in the
    // road data, bends no tighter than its width allows and keeps clear of
    // itself so that weapons fit between its turns.
    bool Build(const GardenDefinition &garden, std::string *error);

    // The step points, already rounded to the single precision the road data
    // stores, so that everything drawn from them matches the file.
    const std::vector<GardenVec> &Points() const { return m_points; }
    int NumSteps() const { return (int)m_points.size(); }
    float StepLength() const { return m_step_length; }
    // atan2(dy, -dx) of the motion from step i to the next; the last step
    // keeps the heading of the one before.
    float Heading(int i) const;
    // Unit vector along the motion at step i.
    GardenVec Direction(int i) const;

    // Distance from (x, y) to the nearest step point, or `cap` when every
    // point is farther than that.
    double DistanceTo(double x, double y, double cap) const;

private:
    void Resample(const std::vector<GardenVec> &dense, double step);
    void BuildIndex();
    bool Check(const GardenDefinition &garden, std::string *error) const;

    std::vector<GardenVec> m_points;
    float m_step_length = 0.0f;
    // Step indices bucketed on a coarse grid for distance queries.
    std::vector<std::vector<int>> m_buckets;
};
