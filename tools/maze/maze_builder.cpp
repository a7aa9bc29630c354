// Maze geometry from a maze source.
//
// Every map character is split into a 3 by 3 grid of sub-cells: a border band
// of the skirting's width on each side and the middle. Border sub-cells next
// to something the player cannot walk into (a wall, a floor too high to step
// onto, a ceiling too low to pass under) are raised into a skirting strip, so
// the player, who is stopped only where no floor can be stepped onto, stays
// a strip's width away from the wall. Floors, ceilings and vertical faces are
// then built over the sub-cells and merged into as few polygons as possible.
#include "maze/maze_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <tuple>
#include <utility>

#include "render/clipping.h"

namespace {

// Floor rectangles grow at most this many sub-cells along each axis: long
// edges collect many T-junction vertices and the game's clipper holds 99.
constexpr int kMaxRun = 24;

struct Sub {
    bool open = false;
    bool skirting = false;
    double floor = 0.0;
    double ceiling = 0.0;
    int ground = -1;
    int roof = -1;
    int riser = -1;      // surface of the faces rising from a lower neighbour's floor to this floor
    int lintel = -1;     // surface of the faces falling from a higher neighbour's ceiling to this ceiling
    int solidWall = -1;  // for closed sub-cells: the surface they show, -1 for the neighbour's own
};

struct Interval {
    double y0 = 0.0;
    double y1 = 0.0;
    int surface = 0;
    bool operator==(const Interval&) const = default;
};

class Builder {
public:
    Builder(const MazeSource& source, MazeBuild& build) : s_(source), b_(build), mesh_(build.mesh) {}

    std::string error;

    bool run() {
        rows_ = static_cast<int>(s_.map.size());
        columns_ = 0;
        for (const std::string& row : s_.map) columns_ = std::max(columns_, static_cast<int>(row.size()));
        bands_ = s_.skirtingWidth > 0.0 ? 3 : 1;
        const double offsets3[] = {0.0, s_.skirtingWidth, s_.cell - s_.skirtingWidth};
        for (int a = 0; a <= columns_ * bands_; ++a) {
            const int c = a / bands_, band = a % bands_;
            xs_.push_back(s_.originX + c * s_.cell + (bands_ == 3 ? offsets3[band] : 0.0));
        }
        for (int b = 0; b <= rows_ * bands_; ++b) {
            const int r = b / bands_, band = b % bands_;
            zs_.push_back(s_.originZ + r * s_.cell + (bands_ == 3 ? offsets3[band] : 0.0));
        }
        if (bands_ == 3) skirtingSurface_ = surface(s_.skirtingTexture);
        fillSubCells();
        warnAboutHeights();
        warnAboutSightLines();
        floorsAndCeilings();
        verticalFaces();
        if (!checkHome()) return false;
        placeMarks();
        return true;
    }

private:
    const MazeSource& s_;
    MazeBuild& b_;
    Mesh& mesh_;
    int rows_ = 0, columns_ = 0, bands_ = 3;
    std::vector<double> xs_, zs_;
    std::vector<Sub> subs_;
    int skirtingSurface_ = -1;

    int surface(const std::string& texture) {
        Surface s;
        s.kind = 3;
        s.texture = texture;
        s.scale = s_.textureScale;
        return mesh_.addSurface(s);
    }

    // The cell type at a map position; outside the map and blanks are null.
    const CellType* cellAt(int c, int r) const {
        if (c < 0 || r < 0 || r >= rows_ || c >= static_cast<int>(s_.map[r].size())) return nullptr;
        const char symbol = s_.map[r][c];
        if (symbol == ' ') return nullptr;
        return &s_.legend.at(symbol);
    }

    static bool open(const CellType* cell) { return cell != nullptr && !cell->solid; }

    // Whether the player standing in `from` is kept out of `to`.
    static bool blocks(const CellType& from, const CellType* to) {
        if (!open(to)) return true;
        return to->floor - from.floor > kStepHeight || to->ceiling - from.floor < kHeadRoom;
    }

    // The skirting's top: above the highest floor the player may step from
    // onto it, so that no floor next to it leads up onto it.
    double skirtingTop(int c, int r) const {
        const CellType& self = *cellAt(c, r);
        double reach = self.floor;
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                const CellType* other = cellAt(c + dc, r + dr);
                if (open(other) && other->floor <= self.floor + kStepHeight) reach = std::max(reach, other->floor);
            }
        }
        return reach + s_.skirtingHeight;
    }

    Sub& sub(int a, int b) { return subs_[static_cast<std::size_t>(b) * columns_ * bands_ + a]; }
    Sub subOrClosed(int a, int b) const {
        if (a < 0 || b < 0 || a >= columns_ * bands_ || b >= rows_ * bands_) return Sub{};
        return subs_[static_cast<std::size_t>(b) * columns_ * bands_ + a];
    }

    void fillSubCells() {
        subs_.assign(static_cast<std::size_t>(columns_) * bands_ * rows_ * bands_, Sub{});
        for (int r = 0; r < rows_; ++r) {
            for (int c = 0; c < columns_; ++c) {
                const CellType* cell = cellAt(c, r);
                Sub base;
                if (!open(cell)) {
                    base.solidWall = cell != nullptr && !cell->walls.empty() ? surface(cell->walls) : -1;
                } else {
                    base.open = true;
                    base.floor = cell->floor;
                    base.ceiling = cell->ceiling;
                    base.ground = surface(cell->ground);
                    base.roof = surface(cell->roof);
                    base.riser = base.lintel = surface(cell->walls);
                }
                for (int bj = 0; bj < bands_; ++bj) {
                    for (int bi = 0; bi < bands_; ++bi) {
                        Sub here = base;
                        if (here.open && bands_ == 3 && needsSkirting(c, r, bi, bj)) {
                            here.skirting = true;
                            here.floor = skirtingTop(c, r);
                            here.ground = here.riser = skirtingSurface_;
                            if (here.floor >= here.ceiling - 1.0) {
                                here = Sub{};
                                here.solidWall = base.lintel;
                            }
                        }
                        sub(c * bands_ + bi, r * bands_ + bj) = here;
                    }
                }
            }
        }
    }

    bool needsSkirting(int c, int r, int bi, int bj) const {
        const CellType& self = *cellAt(c, r);
        const int dc = bi == 0 ? -1 : bi == 2 ? 1 : 0;
        const int dr = bj == 0 ? -1 : bj == 2 ? 1 : 0;
        if (dc != 0 && blocks(self, cellAt(c + dc, r))) return true;
        if (dr != 0 && blocks(self, cellAt(c, r + dr))) return true;
        return dc != 0 && dr != 0 && blocks(self, cellAt(c + dc, r + dr));
    }

    void warn(int line, int column, const std::string& text) {
        b_.warnings.push_back(s_.fileName + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + text);
    }

    void warnAboutHeights() {
        for (int r = 0; r < rows_; ++r) {
            for (int c = 0; c < columns_; ++c) {
                const CellType* cell = cellAt(c, r);
                if (!open(cell)) continue;
                if (cell->ceiling - cell->floor < kHeadRoom) {
                    warn(s_.mapLine + r, c + 1, "the ceiling is too low for anyone to stand here");
                }
                for (const auto& [dc, dr] : {std::pair{1, 0}, std::pair{0, 1}}) {
                    const CellType* other = cellAt(c + dc, r + dr);
                    if (!open(other)) continue;
                    const double rise = std::fabs(other->floor - cell->floor);
                    if (rise > kStepHeight && rise < kEyeHeight + s_.skirtingHeight) {
                        warn(s_.mapLine + r, c + 1,
                             "a rise of " + std::to_string(static_cast<int>(rise)) +
                                 " units can be neither climbed nor looked over; use steps of at most 15");
                    }
                }
            }
        }
    }

    // The game draws nothing farther ahead than its far plane: down a longer
    // straight corridor the background shows through at the far end. The
    // longest run of open cells along a row or a column is named, once.
    void warnAboutSightLines() {
        int longest = 0, line = 0, column = 0;
        const auto scan = [&](int runs, int length, auto openAt, auto placeOf) {
            for (int i = 0; i < runs; ++i) {
                for (int k = 0, run = 0; k <= length; ++k) {
                    if (k < length && openAt(i, k)) {
                        ++run;
                    } else if (run > longest) {
                        longest = run;
                        std::tie(line, column) = placeOf(i, k - run);
                    }
                    if (k < length && !openAt(i, k)) run = 0;
                }
            }
        };
        scan(rows_, columns_, [&](int r, int c) { return open(cellAt(c, r)); },
             [&](int r, int c) { return std::pair(s_.mapLine + r, c + 1); });
        scan(columns_, rows_, [&](int c, int r) { return open(cellAt(c, r)); },
             [&](int c, int r) { return std::pair(s_.mapLine + r, c + 1); });
        const double reach = longest * s_.cell;
        if (reach > static_cast<double>(kFarZ)) {
            warn(line, column,
                 "a straight line of " + std::to_string(longest) + " open cells (" +
                     std::to_string(static_cast<int>(reach)) + " units) starts here; the game draws nothing over " +
                     std::to_string(static_cast<int>(kFarZ)) +
                     " units ahead, so the background shows at its far end: break it with a turn");
        }
    }

    // Greedy rectangles of equal sub-cells, each added as one polygon.
    template <typename Key>
    void mergeRectangles(Key key, bool ceilings) {
        const int nx = columns_ * bands_, nz = rows_ * bands_;
        std::vector<char> done(static_cast<std::size_t>(nx) * nz, 0);
        const auto isDone = [&](int a, int b) -> char& { return done[static_cast<std::size_t>(b) * nx + a]; };
        for (int b = 0; b < nz; ++b) {
            for (int a = 0; a < nx; ++a) {
                const Sub& first = sub(a, b);
                if (!first.open || isDone(a, b)) continue;
                const auto k = key(first);
                int a1 = a + 1;
                while (a1 < nx && a1 - a < kMaxRun && sub(a1, b).open && !isDone(a1, b) && key(sub(a1, b)) == k) ++a1;
                int b1 = b + 1;
                while (b1 < nz && b1 - b < kMaxRun) {
                    bool same = true;
                    for (int i = a; i < a1 && same; ++i) same = sub(i, b1).open && !isDone(i, b1) && key(sub(i, b1)) == k;
                    if (!same) break;
                    ++b1;
                }
                for (int j = b; j < b1; ++j) {
                    for (int i = a; i < a1; ++i) isDone(i, j) = 1;
                }
                const double y = ceilings ? first.ceiling : first.floor;
                const std::vector<Point3> corners = {
                    {xs_[a], y, zs_[b]}, {xs_[a1], y, zs_[b]}, {xs_[a1], y, zs_[b1]}, {xs_[a], y, zs_[b1]}};
                mesh_.addPolygonFacing(corners, {0.0, ceilings ? -1.0 : 1.0, 0.0}, ceilings ? first.roof : first.ground);
            }
        }
    }

    void floorsAndCeilings() {
        mergeRectangles([](const Sub& s) { return std::pair(s.floor, s.ground); }, false);
        mergeRectangles([](const Sub& s) { return std::pair(s.ceiling, s.roof); }, true);
    }

    // The faces seen from `viewer` across its border with `other`.
    static std::vector<Interval> facesSeen(const Sub& viewer, const Sub& other) {
        std::vector<Interval> out;
        if (!viewer.open) return out;
        if (!other.open) {
            out.push_back({viewer.floor, viewer.ceiling, other.solidWall >= 0 ? other.solidWall : viewer.lintel});
            return out;
        }
        if (other.floor > viewer.floor) out.push_back({viewer.floor, std::min(other.floor, viewer.ceiling), other.riser});
        if (other.ceiling < viewer.ceiling && other.ceiling < viewer.ceiling) {
            const double bottom = std::max(other.ceiling, viewer.floor);
            if (out.empty() || bottom > out.back().y1) out.push_back({bottom, viewer.ceiling, other.lintel});
        }
        return out;
    }

    // Walls along one grid line, merged along it. `along` holds the line's
    // sub-cell borders; `quad` makes the corners of a piece.
    template <typename Quad>
    void emitLine(const std::vector<std::vector<Interval>>& perStep, const std::vector<double>& along, const Point3& normal,
                  Quad quad) {
        struct Run {
            Interval interval;
            int start;
        };
        std::vector<Run> runs;
        const int steps = static_cast<int>(perStep.size());
        for (int i = 0; i <= steps; ++i) {
            const std::vector<Interval> now = i < steps ? perStep[i] : std::vector<Interval>{};
            std::vector<Run> next;
            for (const Run& run : runs) {
                if (std::find(now.begin(), now.end(), run.interval) != now.end()) {
                    next.push_back(run);
                } else {
                    mesh_.addPolygonFacing(quad(along[run.start], along[i], run.interval), normal, run.interval.surface);
                }
            }
            for (const Interval& interval : now) {
                const bool continued = std::any_of(next.begin(), next.end(), [&](const Run& r) { return r.interval == interval; });
                if (!continued) next.push_back({interval, i});
            }
            runs = std::move(next);
        }
    }

    void verticalFaces() {
        const int nx = columns_ * bands_, nz = rows_ * bands_;
        for (int a = 0; a <= nx; ++a) {
            const double x = xs_[a];
            std::vector<std::vector<Interval>> west(nz), east(nz);
            for (int b = 0; b < nz; ++b) {
                const Sub l = subOrClosed(a - 1, b), r = subOrClosed(a, b);
                west[b] = facesSeen(l, r);  // seen from the west side, facing -x
                east[b] = facesSeen(r, l);
            }
            const auto quad = [x](double z0, double z1, const Interval& i) {
                return std::vector<Point3>{{x, i.y0, z0}, {x, i.y0, z1}, {x, i.y1, z1}, {x, i.y1, z0}};
            };
            emitLine(west, zs_, {-1.0, 0.0, 0.0}, quad);
            emitLine(east, zs_, {1.0, 0.0, 0.0}, quad);
        }
        for (int b = 0; b <= nz; ++b) {
            const double z = zs_[b];
            std::vector<std::vector<Interval>> north(nx), south(nx);
            for (int a = 0; a < nx; ++a) {
                const Sub n = subOrClosed(a, b - 1), s = subOrClosed(a, b);
                north[a] = facesSeen(n, s);
                south[a] = facesSeen(s, n);
            }
            const auto quad = [z](double x0, double x1, const Interval& i) {
                return std::vector<Point3>{{x0, i.y0, z}, {x1, i.y0, z}, {x1, i.y1, z}, {x0, i.y1, z}};
            };
            emitLine(north, xs_, {0.0, 0.0, -1.0}, quad);
            emitLine(south, xs_, {0.0, 0.0, 1.0}, quad);
        }
    }

    // The sub-cell holding a world point, or false outside the map.
    bool locate(double x, double z, int& a, int& b) const {
        const auto find = [](const std::vector<double>& lines, double v, int& index) {
            if (v < lines.front() || v >= lines.back()) return false;
            index = static_cast<int>(std::upper_bound(lines.begin(), lines.end(), v) - lines.begin()) - 1;
            return true;
        };
        return find(xs_, x, a) && find(zs_, z, b);
    }

    bool checkHome() {
        if (!s_.hasHome) return true;
        int a = 0, b = 0;
        const std::string where = s_.fileName + ": the home position (" + std::to_string(static_cast<int>(s_.homeX)) +
                                  ", " + std::to_string(static_cast<int>(s_.homeZ)) + ")";
        if (!locate(s_.homeX, s_.homeZ, a, b) || !sub(a, b).open || sub(a, b).skirting) {
            error = where + " is not on an open floor of the map";
            return false;
        }
        if (std::fabs(sub(a, b).floor + kEyeHeight - s_.homeY) > 1e-6) {
            error = where + " needs a floor at y " + std::to_string(static_cast<int>(s_.homeY - kEyeHeight)) +
                    " under it";
            return false;
        }
        return true;
    }

    void placeMarks() {
        for (const MarkDefinition& def : s_.markDefinitions) {
            int c0 = columns_, c1 = -1, r0 = rows_, r1 = -1;
            double floorLow = 1e30, ceilingHigh = -1e30;
            for (int r = 0; r < static_cast<int>(s_.marks.size()); ++r) {
                for (int c = 0; c < static_cast<int>(s_.marks[r].size()); ++c) {
                    if (s_.marks[r][c] != def.symbol) continue;
                    const CellType* cell = cellAt(c, r);
                    c0 = std::min(c0, c);
                    c1 = std::max(c1, c);
                    r0 = std::min(r0, r);
                    r1 = std::max(r1, r);
                    floorLow = std::min(floorLow, cell->floor);
                    ceilingHigh = std::max(ceilingHigh, cell->ceiling);
                }
            }
            MazeMark mark;
            mark.kind = def.kind;
            mark.name = def.name;
            const double x0 = s_.originX + c0 * s_.cell, x1 = s_.originX + (c1 + 1) * s_.cell;
            const double z0 = s_.originZ + r0 * s_.cell, z1 = s_.originZ + (r1 + 1) * s_.cell;
            if (def.kind == MarkKind::Passage || def.kind == MarkKind::Sound) {
                mark.lo[0] = x0, mark.lo[1] = floorLow, mark.lo[2] = z0;
                mark.hi[0] = x1, mark.hi[1] = ceilingHigh, mark.hi[2] = z1;
            } else {
                const double x = (x0 + x1) / 2, z = (z0 + z1) / 2;
                int a = 0, b = 0;
                double floor = floorLow;
                if (locate(x, z, a, b) && sub(a, b).open) floor = sub(a, b).floor;
                if (locate(x, z, a, b) && sub(a, b).skirting) warn(def.line, 1, "the mark's centre is on a skirting strip");
                const double y = def.kind == MarkKind::Start ? floor + kEyeHeight : floor;
                mark.lo[0] = mark.hi[0] = x;
                mark.lo[1] = mark.hi[1] = y;
                mark.lo[2] = mark.hi[2] = z;
            }
            b_.marks.push_back(mark);
        }
    }
};

std::string number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

}  // namespace

bool build_maze(const MazeSource& source, MazeBuild& build, std::string& error) {
    build = MazeBuild{};
    Builder builder(source, build);
    if (!builder.run()) {
        error = builder.error;
        return false;
    }
    return true;
}

std::string marks_text(const MazeSource& source, const std::vector<MazeMark>& marks) {
    std::ostringstream out;
    out << "; Marks of " << source.fileName << (source.title.empty() ? "" : " \"" + source.title + "\"")
        << " in world coordinates.\n"
        << "; start N NAME X Y Z           Y is the eye height (floor + 40); N counts start points from 0\n"
        << "; passage NAME X0 Y0 Z0 X1 Y1 Z1  box tested against the eye\n"
        << "; sound NAME X0 Y0 Z0 X1 Y1 Z1\n"
        << "; object NAME X Y Z             Y is the floor the object stands on\n";
    int starts = 0;
    for (const MazeMark& mark : marks) {
        out << mark_kind_name(mark.kind);
        if (mark.kind == MarkKind::Start) out << " " << starts++;
        out << " " << mark.name;
        if (mark.kind == MarkKind::Passage || mark.kind == MarkKind::Sound) {
            for (const double v : mark.lo) out << " " << number(v);
            for (const double v : mark.hi) out << " " << number(v);
        } else {
            for (const double v : mark.lo) out << " " << number(v);
        }
        out << "\n";
    }
    return out.str();
}
