#include "scene/scene_cull.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "scene/affine.h"
#include "scene/geometry.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "scene/render_state.h"

namespace {

void addTransformedBox(const Affine& m, const Bounds3& local, Bounds3& out) {
    for (int corner = 0; corner < 8; ++corner) {
        out.add(m.apply(Vector3(corner & 1 ? local.hi.x : local.lo.x,
                                corner & 2 ? local.hi.y : local.lo.y,
                                corner & 4 ? local.hi.z : local.lo.z)));
    }
}

}  // namespace

struct RootCuller::Collected {
    Bounds3 box;
    bool unknown = false;
    bool light = false;
};

// The box of what drawing node (and what lies below it) would draw. Every
// node met learns which subtree it is in, so that a change to it that the
// watches do not see can name that subtree.
void RootCuller::collect(Node* node, const Affine& parent, Collected& out, std::uint32_t index) {
    node->m_pCullRoot = m_entries[index].node;
    node->m_uiCullIndex = index;
    if (node->isTransform()) {
        auto* t = static_cast<NodeTransform*>(node);
        m_scratch.push_back(
            {t, t->m_vTranslation, t->m_vCentre, t->m_vScale, t->m_fAngle, t->isVisible()});
        if (t->isVisible() && t->child()) {
            const Affine inner = parent.times(Affine::ofTransform(*t));
            for (Node* child = t->child(); child; child = child->next()) {
                collect(child, inner, out, index);
            }
        }
    } else if (node->isShape()) {
        const Geometry* geometry = static_cast<NodeShape*>(node)->geometry();
        Bounds3 local;
        if (geometry == nullptr) {
            return;
        }
        if (!geometry->bounds(local)) {
            out.unknown = true;
        } else if (!local.empty) {
            addTransformedBox(parent, local, out.box);
        }
    } else {
        out.light = true;
    }
}

void Frustum::fromGL() {
    float projection[16];
    float modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    fromMatrices(projection, modelView);
}

void Frustum::fromMatrices(const float* projection, const float* modelView) {
    float c[16];
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            float s = 0.0f;
            for (int k = 0; k < 4; ++k) {
                s += projection[k * 4 + row] * modelView[col * 4 + k];
            }
            c[col * 4 + row] = s;
        }
    }
    // Clip space keeps -w <= x, y, z <= w: each plane is row 3 plus or
    // minus row 0, 1 or 2 of the combined matrix.
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 4; ++k) {
            m_planes[2 * i][k] = c[k * 4 + 3] + c[k * 4 + i];
            m_planes[2 * i + 1][k] = c[k * 4 + 3] - c[k * 4 + i];
        }
    }
}

namespace {

// How much a box grows before it is tested: its corners come from float
// products that may differ from OpenGL's in the last bits.
float cullMargin(const Bounds3& box) {
    const float span = std::fabs(box.lo.x) + std::fabs(box.lo.y) + std::fabs(box.lo.z) +
                       std::fabs(box.hi.x) + std::fabs(box.hi.y) + std::fabs(box.hi.z);
    return 0.01f + 1e-4f * span;
}

}  // namespace

bool Frustum::outside(const Bounds3& box) const {
    const float margin = cullMargin(box);
    for (const auto& p : m_planes) {
        const float x = p[0] >= 0.0f ? box.hi.x + margin : box.lo.x - margin;
        const float y = p[1] >= 0.0f ? box.hi.y + margin : box.lo.y - margin;
        const float z = p[2] >= 0.0f ? box.hi.z + margin : box.lo.z - margin;
        if (p[0] * x + p[1] * y + p[2] * z + p[3] < 0.0f) {
            return true;
        }
    }
    return false;
}

void RootCuller::forget() {
    m_entries.clear();
    m_watches.clear();
    m_moving.clear();
    m_patches.clear();
    m_gridSide = 0;
    m_fixedCount = 0;
    m_groupedFixed = 0;
    m_uiLiveWatches = 0;
    m_pFirst = nullptr;
    m_bBuilt = false;
}

void RootCuller::rebuild(Node* first) {
    m_entries.clear();
    m_watches.clear();
    m_uiLiveWatches = 0;
    for (Node* node = first; node; node = node->next()) {
        m_entries.push_back(Entry{node, 0, 0, 0, MOVING, Bounds3(), true});
        measure(static_cast<std::uint32_t>(m_entries.size() - 1));
    }
    m_uiNextFixedCheck = 0;
    groupFixed();
    m_pFirst = first;
    m_uiGeneration = boundsGeneration();
    m_uiChangesSeen = boundsChangeCount();
    m_bBuilt = true;
}

// A node added to the end of the root chain since the last frame.
void RootCuller::append(Node* node) {
    const auto index = static_cast<std::uint32_t>(m_entries.size());
    m_entries.push_back(Entry{node, 0, 0, 0, MOVING, Bounds3(), true});
    m_moving.push_back(index);
    measure(index);
    place(index);
}

// The subtrees named by changes noted since the last frame, in m_stale;
// false when they cannot all be told (too many, or named by a count of the
// chain that is not this one's), and every box must be measured again.
bool RootCuller::takeNotedChanges() {
    const std::uint64_t count = boundsChangeCount();
    m_stale.clear();
    if (count - m_uiChangesSeen > BOUNDS_CHANGES_KEPT) {
        return false;
    }
    for (std::uint64_t n = m_uiChangesSeen; n < count; ++n) {
        const BoundsChange& change = boundsChange(n);
        if (change.index >= m_entries.size() || m_entries[change.index].node != change.root) {
            return false;
        }
        m_stale.push_back(change.index);
    }
    m_uiChangesSeen = count;
    std::sort(m_stale.begin(), m_stale.end());
    m_stale.erase(std::unique(m_stale.begin(), m_stale.end()), m_stale.end());
    return true;
}

namespace {

float centreOf(const Bounds3& box, int axis) {
    return axis == 0 ? 0.5f * (box.lo.x + box.hi.x) : 0.5f * (box.lo.z + box.hi.z);
}

bool groupable(const Node& node, const Bounds3& box, bool alwaysDrawn) {
    return node.isFixedInPlace() && !alwaysDrawn && !box.empty;
}

void eraseSorted(std::vector<std::uint32_t>& list, std::uint32_t value) {
    auto at = std::lower_bound(list.begin(), list.end(), value);
    if (at != list.end() && *at == value) {
        list.erase(at);
    }
}

void insertSorted(std::vector<std::uint32_t>& list, std::uint32_t value) {
    list.insert(std::lower_bound(list.begin(), list.end(), value), value);
}

}  // namespace

std::uint32_t RootCuller::patchOf(const Bounds3& box) const {
    std::size_t index[2];
    for (int axis = 0; axis < 2; ++axis) {
        const float span = m_gridHi[axis] - m_gridLo[axis];
        const float t = span > 0.0f ? (centreOf(box, axis) - m_gridLo[axis]) / span : 0.0f;
        // Outside the grid (or not a number) lands on its rim.
        const float cell =
            std::min(t * static_cast<float>(m_gridSide), static_cast<float>(m_gridSide - 1));
        index[axis] = cell > 0.0f ? static_cast<std::size_t>(cell) : 0;
    }
    return static_cast<std::uint32_t>(index[1] * m_gridSide + index[0]);
}

// Each member counts with its own margin, so a patch found outside holds no
// member that its own test would have kept.
void RootCuller::enclose(Patch& patch, const Bounds3& box) const {
    const float margin = cullMargin(box);
    patch.box.add(box.lo.subtract(Vector3(margin, margin, margin)));
    patch.box.add(box.hi.add(Vector3(margin, margin, margin)));
}

// Patches are squares on the floor (x and z; y is up), as many as give about
// PER_PATCH subtrees each on average.
void RootCuller::groupFixed() {
    constexpr std::size_t PER_PATCH = 32;
    m_moving.clear();
    m_patches.clear();
    m_fixedCount = 0;
    for (std::uint32_t i = 0; i < m_entries.size(); ++i) {
        Entry& entry = m_entries[i];
        entry.patch = MOVING;
        if (!groupable(*entry.node, entry.box, entry.alwaysDrawn)) {
            m_moving.push_back(i);
            continue;
        }
        for (int axis = 0; axis < 2; ++axis) {
            const float c = centreOf(entry.box, axis);
            m_gridLo[axis] = m_fixedCount == 0 ? c : std::min(m_gridLo[axis], c);
            m_gridHi[axis] = m_fixedCount == 0 ? c : std::max(m_gridHi[axis], c);
        }
        ++m_fixedCount;
    }
    m_groupedFixed = m_fixedCount;
    m_gridSide = 0;
    if (m_fixedCount == 0) {
        return;
    }
    m_gridSide = static_cast<std::size_t>(
        std::max(1.0, std::round(std::sqrt(static_cast<double>(m_fixedCount) / PER_PATCH))));
    m_patches.resize(m_gridSide * m_gridSide);
    // In chain order, so each patch's members are too.
    for (std::uint32_t i = 0; i < m_entries.size(); ++i) {
        Entry& entry = m_entries[i];
        if (groupable(*entry.node, entry.box, entry.alwaysDrawn)) {
            entry.patch = patchOf(entry.box);
            m_patches[entry.patch].members.push_back(i);
            enclose(m_patches[entry.patch], entry.box);
        }
    }
}

// Moves a subtree whose box or promise may have changed to where it now
// belongs: the moving list or the patch its box's centre falls in. The
// patch it leaves is re-fitted round the members that stay.
void RootCuller::place(std::uint32_t index) {
    // Fixed subtrees grown well past the grid they were laid out for are
    // grouped anew, so the patches stay small.
    constexpr std::size_t REGROUP_SLACK = 1024;
    Entry& entry = m_entries[index];
    const bool fixed = groupable(*entry.node, entry.box, entry.alwaysDrawn);
    if (fixed && m_gridSide == 0) {
        groupFixed();
        return;
    }
    if (entry.patch == MOVING) {
        eraseSorted(m_moving, index);
    } else {
        Patch& left = m_patches[entry.patch];
        eraseSorted(left.members, index);
        left.box = Bounds3();
        for (std::uint32_t member : left.members) {
            enclose(left, m_entries[member].box);
        }
        --m_fixedCount;
    }
    if (!fixed) {
        entry.patch = MOVING;
        insertSorted(m_moving, index);
        return;
    }
    entry.patch = patchOf(entry.box);
    insertSorted(m_patches[entry.patch].members, index);
    enclose(m_patches[entry.patch], entry.box);
    ++m_fixedCount;
    if (m_fixedCount > 2 * m_groupedFixed + REGROUP_SLACK) {
        groupFixed();
    }
}

void RootCuller::measure(std::uint32_t index) {
    m_scratch.clear();
    Collected collected;
    collect(m_entries[index].node, Affine(), collected, index);
    Entry& entry = m_entries[index];
    entry.box = collected.box;
    entry.alwaysDrawn = collected.unknown || collected.light || !entry.node->isTransform();
    const auto count = static_cast<std::uint32_t>(m_scratch.size());
    if (count > entry.watchRoom) {
        entry.firstWatch = static_cast<std::uint32_t>(m_watches.size());
        m_watches.insert(m_watches.end(), m_scratch.begin(), m_scratch.end());
        m_uiLiveWatches = m_uiLiveWatches - entry.watchRoom + count;
        entry.watchRoom = count;
    } else {
        std::copy(m_scratch.begin(), m_scratch.end(), m_watches.begin() + entry.firstWatch);
    }
    entry.watchCount = count;
    ++m_measured;
}

// A subtree whose watch list outgrew its range was given a new one at the
// end; the old ranges are dropped when they come to outweigh the live ones.
void RootCuller::compactWatches() {
    std::vector<Watch> live;
    live.reserve(m_uiLiveWatches);
    for (Entry& entry : m_entries) {
        const auto first = static_cast<std::uint32_t>(live.size());
        live.insert(live.end(), m_watches.begin() + entry.firstWatch,
                    m_watches.begin() + entry.firstWatch + entry.watchRoom);
        entry.firstWatch = first;
    }
    m_watches.swap(live);
}

bool RootCuller::changed(const Entry& entry) const {
    const Watch* w = m_watches.data() + entry.firstWatch;
    for (std::uint32_t i = 0; i < entry.watchCount; ++i, ++w) {
        const NodeTransform& t = *w->node;
        if (!(t.m_vTranslation == w->translation) || t.m_fAngle != w->angle ||
            !(t.m_vScale == w->scale) || !(t.m_vCentre == w->centre) ||
            t.isVisible() != w->visible) {
            return true;
        }
    }
    return false;
}

// The next few fixed subtrees, in turn; one that changed after all is
// measured again and moved to the patch it now falls in.
void RootCuller::checkFixedInTurn() {
    std::size_t checked = 0;
    for (std::size_t step = 0;
         step < m_entries.size() && checked < FIXED_CHECKS_PER_FRAME && m_fixedCount > 0; ++step) {
        if (m_uiNextFixedCheck >= m_entries.size()) {
            m_uiNextFixedCheck = 0;
        }
        const auto index = static_cast<std::uint32_t>(m_uiNextFixedCheck++);
        if (m_entries[index].patch == MOVING) {
            continue;
        }
        ++checked;
        if (changed(m_entries[index])) {
            measure(index);
            place(index);
        }
    }
}

bool RootCuller::mayBeSeen(const Entry& entry, const Frustum& frustum) const {
    return entry.alwaysDrawn || (!entry.box.empty && !frustum.outside(entry.box));
}

void RootCuller::drawOpaque(Node* first, const Frustum& frustum) {
    m_measured = 0;
    bool whole = !m_bBuilt || first != m_pFirst || boundsGeneration() != m_uiGeneration;
    if (!whole && !m_entries.empty()) {
        for (Node* tail = m_entries.back().node; tail->next();) {
            tail = tail->next();
            append(tail);
        }
    }
    whole = whole || !takeNotedChanges();
    if (whole) {
        rebuild(first);
    } else {
        for (std::uint32_t index : m_stale) {
            measure(index);
            place(index);
        }
        checkFixedInTurn();
    }
    if (m_watches.size() > 2 * m_uiLiveWatches + 4096) {
        compactWatches();
    }
    m_toDraw.clear();
    m_stale.clear();
    m_culled = 0;
    for (std::uint32_t index : m_moving) {
        Entry& entry = m_entries[index];
        if (changed(entry)) {
            measure(index);
            // A fixed one that was hidden or empty may now have a patch.
            if (entry.node->isFixedInPlace()) {
                m_stale.push_back(index);
            }
        }
        if (mayBeSeen(entry, frustum)) {
            m_toDraw.push_back(index);
        } else {
            ++m_culled;
        }
    }
    for (const Patch& patch : m_patches) {
        if (patch.members.empty()) {
            continue;
        }
        if (frustum.outside(patch.box)) {
            m_culled += patch.members.size();
            continue;
        }
        for (std::uint32_t index : patch.members) {
            if (mayBeSeen(m_entries[index], frustum)) {
                m_toDraw.push_back(index);
            } else {
                ++m_culled;
            }
        }
    }
    // After the walk over the moving list, which this may change.
    for (std::uint32_t index : m_stale) {
        place(index);
    }
    std::sort(m_toDraw.begin(), m_toDraw.end());  // chain order
    m_drawn = m_toDraw.size();
    for (std::uint32_t index : m_toDraw) {
        m_entries[index].node->render(false, false);
    }
}
