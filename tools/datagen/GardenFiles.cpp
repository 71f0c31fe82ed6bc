#include "tools/datagen/GardenFiles.h"

#include "tools/datagen/DataGenFiles.h"
#include "tools/datagen/GardenPainter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

const double PI = 3.14159265358979323846;

// Board coordinate of the centre of grid cell c.
double CellCentre(int c) { return (c - ROAD_GRID_FIRST_BOARD_CELL) / 224.0 - 1.0; }

// Nearest cell to a board coordinate, clamped into the grid.
int NearestCell(double b)
{
    return std::min(ROAD_GRID_SIDE - 1, std::max(0, (int)std::lround((b + 1.0) * 224.0) + ROAD_GRID_FIRST_BOARD_CELL));
}

void BlockDisc(_TraverseData *data, double x, double y, double r)
{
    for (int cx = NearestCell(x - r); cx <= NearestCell(x + r); cx++) {
        for (int cy = NearestCell(y - r); cy <= NearestCell(y + r); cy++) {
            double dx = CellCentre(cx) - x, dy = CellCentre(cy) - y;
            if (dx * dx + dy * dy <= r * r)
                data->ground_map[cx * ROAD_GRID_SIDE + cy] = 1;
        }
    }
}

void BlockEllipse(_TraverseData *data, const GardenDecoration &d)
{
    double turn = d.angle * PI / 180.0, r = std::max(d.radius, d.radius_y);
    for (int cx = NearestCell(d.at.x - r); cx <= NearestCell(d.at.x + r); cx++) {
        for (int cy = NearestCell(d.at.y - r); cy <= NearestCell(d.at.y + r); cy++) {
            double dx = CellCentre(cx) - d.at.x, dy = CellCentre(cy) - d.at.y;
            double u = (dx * std::cos(turn) + dy * std::sin(turn)) / d.radius;
            double v = (-dx * std::sin(turn) + dy * std::cos(turn)) / d.radius_y;
            if (u * u + v * v <= 1.0)
                data->ground_map[cx * ROAD_GRID_SIDE + cy] = 1;
        }
    }
}

double Blocked(const GardenRoadDef &road) { return road.half_width + road.edge_width + road.margin; }

}  // namespace

void GardenFillRoadData(const GardenDefinition &garden, const GardenRoad &road, _TraverseData *data)
{
    int n = road.NumSteps();
    data->num_steps = n;
    data->end_steps = n;
    for (int i = 0; i < n; i++) {
        data->point[i].x = (float)road.Points()[(size_t)i].x;
        data->point[i].y = (float)road.Points()[(size_t)i].y;
        data->heading[i] = road.Heading(i);
        BlockDisc(data, road.Points()[(size_t)i].x, road.Points()[(size_t)i].y, Blocked(garden.road));
    }
    for (const GardenDecoration &d : garden.decorations)
        BlockEllipse(data, d);
    data->reserved = 1.0f;
    data->step_length = road.StepLength();
}

bool GardenCheckDecorations(const GardenDefinition &garden, const GardenRoad &road, std::string *error)
{
    double keep = Blocked(garden.road);
    for (size_t i = 0; i < garden.decorations.size(); i++) {
        const GardenDecoration &d = garden.decorations[i];
        double turn = d.angle * PI / 180.0;
        for (int k = 0; k <= 36; k++) {
            // The centre and 36 points round the rim.
            double a = k * 2.0 * PI / 36.0, f = k == 36 ? 0.0 : 1.0;
            double lx = std::cos(a) * d.radius * f, ly = std::sin(a) * d.radius_y * f;
            double x = d.at.x + lx * std::cos(turn) - ly * std::sin(turn);
            double y = d.at.y + lx * std::sin(turn) + ly * std::cos(turn);
            if (road.DistanceTo(x, y, keep) < keep) {
                *error = "decoration " + std::to_string(i) + " (" + d.kind + ") reaches onto the road";
                return false;
            }
        }
    }
    return true;
}

bool GardenWriteFiles(int g, const std::string &source_dir, const std::string &out_dir, std::string *error)
{
    std::string source = source_dir + "/gardens/garden" + std::to_string(g) + ".json";
    GardenDefinition garden;
    if (!GardenDefinitionLoad(source, &garden, error))
        return false;
    GardenRoad road;
    std::string why;
    if (garden.number != g)
        why = "says it is garden " + std::to_string(garden.number);
    else if (road.Build(garden, &why))
        GardenCheckDecorations(garden, road, &why);
    if (!why.empty()) {
        *error = source + ": " + why;
        return false;
    }

    cairo_surface_t *surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, GARDEN_PICTURE_SIZE, GARDEN_PICTURE_SIZE);
    GardenPaint(garden, road, surface);
    bool ok = DataGenWritePng(surface, out_dir + "/110" + std::to_string(g) + ".dat", error);
    cairo_surface_destroy(surface);
    if (!ok)
        return false;

    std::unique_ptr<_TraverseData> data(new _TraverseData());
    GardenFillRoadData(garden, road, data.get());
    std::vector<unsigned char> bytes(ROAD_DATA_FILE_SIZE);
    RoadDataEncode(*data, bytes.data());
    return DataGenWriteFile(out_dir + "/113" + std::to_string(g) + ".dat", bytes.data(), bytes.size(), error);
}
