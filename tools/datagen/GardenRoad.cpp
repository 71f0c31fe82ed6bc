#include "tools/datagen/GardenRoad.h"

#include "game/RoadDataFile.h"

#include <algorithm>
#include <cmath>

namespace {

// Buckets of the distance index cover [-BUCKET_REACH, BUCKET_REACH) on both
// axes, which holds the whole picture and the road's ends.
const double BUCKET_SIZE = 0.05;
const double BUCKET_REACH = 1.6;
const int BUCKETS_PER_SIDE = (int)(2.0 * BUCKET_REACH / BUCKET_SIZE);
// Control points are joined by curve pieces sampled at least this finely
// before the even steps are laid along them.
const double DENSE_SPACING = 0.0001;
// Turns of the road closer than this along it are neighbours, not passes
// that must keep apart.
const double PASS_DISTANCE_ALONG = 1.2;
// Free ground needed between two passes of the road for a weapon to stand.
const double WEAPON_ROOM = 0.12;

GardenVec Sub(GardenVec a, GardenVec b) { return GardenVec{a.x - b.x, a.y - b.y}; }
double Length(GardenVec v) { return std::sqrt(v.x * v.x + v.y * v.y); }
bool OnBoard(GardenVec p) { return std::fabs(p.x) <= 1.0 && std::fabs(p.y) <= 1.0; }

GardenVec Lerp(GardenVec a, GardenVec b, double ta, double tb, double t)
{
    if (tb - ta < 1e-12)
        return a;
    double u = (t - ta) / (tb - ta);
    return GardenVec{a.x + (b.x - a.x) * u, a.y + (b.y - a.y) * u};
}

// One piece of a centripetal Catmull-Rom curve from p1 to p2, sampled into
// `out` (p1 included, p2 left to the next piece). The centripetal form never
// loops or overshoots between control points.
void SamplePiece(GardenVec p0, GardenVec p1, GardenVec p2, GardenVec p3, std::vector<GardenVec> *out)
{
    double t0 = 0.0;
    double t1 = t0 + std::sqrt(std::max(Length(Sub(p1, p0)), 1e-9));
    double t2 = t1 + std::sqrt(std::max(Length(Sub(p2, p1)), 1e-9));
    double t3 = t2 + std::sqrt(std::max(Length(Sub(p3, p2)), 1e-9));
    int samples = std::max(16, (int)std::ceil(Length(Sub(p2, p1)) * 2.0 / DENSE_SPACING));
    for (int i = 0; i < samples; i++) {
        double t = t1 + (t2 - t1) * i / samples;
        GardenVec a1 = Lerp(p0, p1, t0, t1, t), a2 = Lerp(p1, p2, t1, t2, t), a3 = Lerp(p2, p3, t2, t3, t);
        GardenVec b1 = Lerp(a1, a2, t0, t2, t), b2 = Lerp(a2, a3, t1, t3, t);
        out->push_back(Lerp(b1, b2, t1, t2, t));
    }
}

GardenVec ToFloat(GardenVec p) { return GardenVec{(double)(float)p.x, (double)(float)p.y}; }

}  // namespace

bool GardenRoad::Build(const GardenDefinition &garden, std::string *error)
{
    const std::vector<GardenVec> &c = garden.road.points;
    size_t n = c.size();
    // Ends continue straight on, so the road leaves the board as it runs.
    GardenVec before{2.0 * c[0].x - c[1].x, 2.0 * c[0].y - c[1].y};
    GardenVec after{2.0 * c[n - 1].x - c[n - 2].x, 2.0 * c[n - 1].y - c[n - 2].y};
    std::vector<GardenVec> dense;
    for (size_t i = 0; i + 1 < n; i++)
        SamplePiece(i == 0 ? before : c[i - 1], c[i], c[i + 1], i + 2 < n ? c[i + 2] : after, &dense);
    dense.push_back(c[n - 1]);

    m_step_length = (float)garden.road.step_length;
    Resample(dense, m_step_length);
    if (NumSteps() < 2 || NumSteps() > ROAD_MAX_STEPS) {
        *error = "road of " + std::to_string(NumSteps()) + " steps; it must have 2 to " +
                 std::to_string(ROAD_MAX_STEPS);
        return false;
    }
    BuildIndex();
    return Check(garden, error);
}

// Lays points along the dense curve so that each is exactly one step, in a
// straight line, from the one before: the next point is where a circle of
// the step's radius round the current point leaves the curve.
void GardenRoad::Resample(const std::vector<GardenVec> &dense, double step)
{
    m_points.clear();
    GardenVec current = ToFloat(dense[0]);
    m_points.push_back(current);
    size_t next = 1;
    while (true) {
        while (next < dense.size() && Length(Sub(dense[next], current)) < step)
            next++;
        if (next >= dense.size())
            break;
        // dense[next - 1] is inside the circle (or is the current point's own
        // piece start) and dense[next] outside: solve |a + u (b - a) - c| = step.
        GardenVec a = dense[next - 1], b = dense[next];
        GardenVec d = Sub(b, a), f = Sub(a, current);
        double qa = d.x * d.x + d.y * d.y;
        double qb = 2.0 * (f.x * d.x + f.y * d.y);
        double qc = f.x * f.x + f.y * f.y - step * step;
        double u = (-qb + std::sqrt(std::max(0.0, qb * qb - 4.0 * qa * qc))) / (2.0 * qa);
        u = std::min(1.0, std::max(0.0, u));
        current = ToFloat(GardenVec{a.x + d.x * u, a.y + d.y * u});
        m_points.push_back(current);
    }
}

float GardenRoad::Heading(int i) const
{
    int from = std::min(i, NumSteps() - 2);
    GardenVec d = Sub(m_points[from + 1], m_points[from]);
    return (float)std::atan2(d.y, -d.x);
}

GardenVec GardenRoad::Direction(int i) const
{
    int from = std::min(i, NumSteps() - 2);
    GardenVec d = Sub(m_points[from + 1], m_points[from]);
    double len = Length(d);
    return GardenVec{d.x / len, d.y / len};
}

void GardenRoad::BuildIndex()
{
    m_buckets.assign((size_t)BUCKETS_PER_SIDE * BUCKETS_PER_SIDE, {});
    for (int i = 0; i < NumSteps(); i++) {
        int bx = (int)std::floor((m_points[i].x + BUCKET_REACH) / BUCKET_SIZE);
        int by = (int)std::floor((m_points[i].y + BUCKET_REACH) / BUCKET_SIZE);
        if (bx >= 0 && by >= 0 && bx < BUCKETS_PER_SIDE && by < BUCKETS_PER_SIDE)
            m_buckets[(size_t)by * BUCKETS_PER_SIDE + bx].push_back(i);
    }
}

double GardenRoad::DistanceTo(double x, double y, double cap) const
{
    double best = cap;
    int reach = (int)std::ceil(cap / BUCKET_SIZE);
    int cx = (int)std::floor((x + BUCKET_REACH) / BUCKET_SIZE);
    int cy = (int)std::floor((y + BUCKET_REACH) / BUCKET_SIZE);
    for (int by = std::max(0, cy - reach); by <= std::min(BUCKETS_PER_SIDE - 1, cy + reach); by++) {
        for (int bx = std::max(0, cx - reach); bx <= std::min(BUCKETS_PER_SIDE - 1, cx + reach); bx++) {
            for (int i : m_buckets[(size_t)by * BUCKETS_PER_SIDE + bx]) {
                double d = Length(Sub(m_points[i], GardenVec{x, y}));
                best = std::min(best, d);
            }
        }
    }
    return best;
}

bool GardenRoad::Check(const GardenDefinition &garden, std::string *error) const
{
    const GardenRoadDef &def = garden.road;
    int n = NumSteps();
    if (OnBoard(m_points[0]) || OnBoard(m_points[n - 1])) {
        *error = "the road must start and end off the board";
        return false;
    }
    int first = garden.target_start, last = n - 1 - garden.target_end;
    if (first < 0 || last <= first) {
        *error = "the road is too short for its target window";
        return false;
    }
    for (int i = first; i <= last; i++) {
        if (!OnBoard(m_points[i])) {
            *error = "step " + std::to_string(i) + " of the target window lies off the board";
            return false;
        }
    }
    // The inner edge of a bend folds over when the bend is tighter than the
    // drawn road is wide; measure the turn over a short stretch.
    const int stretch = std::max(2, (int)std::lround(0.02 / def.step_length));
    double widest = def.half_width + def.edge_width;
    for (int i = 0; i + stretch < n; i++) {
        GardenVec a = Direction(i), b = Direction(i + stretch);
        double turn = std::acos(std::min(1.0, std::max(-1.0, a.x * b.x + a.y * b.y)));
        if (turn > 1e-9 && stretch * def.step_length / turn < widest) {
            *error = "the road bends too sharply at step " + std::to_string(i);
            return false;
        }
    }
    double gap = 2.0 * (widest + def.margin) + WEAPON_ROOM;
    int apart = (int)std::ceil(PASS_DISTANCE_ALONG / def.step_length);
    for (int i = 0; i < n; i++) {
        for (int j = i + apart; j < n; j++) {
            if (Length(Sub(m_points[i], m_points[j])) < gap) {
                *error = "steps " + std::to_string(i) + " and " + std::to_string(j) +
                         " are too close for a weapon to stand between them";
                return false;
            }
        }
    }
    return true;
}
