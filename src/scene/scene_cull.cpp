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

struct Collected {
    Bounds3 box;
    bool unknown = false;
    bool light = false;
};

// The box of what drawing node (and what lies below it) would draw.
void collect(Node* node, const Affine& parent, Collected& out,
             std::vector<RootCuller::Watch>& watches) {
    if (node->isTransform()) {
        auto* t = static_cast<NodeTransform*>(node);
        watches.push_back(
            {t, t->m_vTranslation, t->m_vCentre, t->m_vScale, t->m_fAngle, t->isVisible()});
        if (t->isVisible() && t->child()) {
            const Affine inner = parent.times(Affine::ofTransform(*t));
            for (Node* child = t->child(); child; child = child->next()) {
                collect(child, inner, out, watches);
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

}  // namespace

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
    m_fixed.clear();
    m_patches.clear();
    m_uiLiveWatches = 0;
    m_pFirst = nullptr;
    m_bBuilt = false;
}

void RootCuller::rebuild(Node* first) {
    m_entries.clear();
    m_watches.clear();
    m_uiLiveWatches = 0;
    for (Node* node = first; node; node = node->next()) {
        Entry entry{node, 0, 0, Bounds3(), true};
        measure(entry);
        m_entries.push_back(entry);
    }
    groupFixed();
    m_pFirst = first;
    m_uiGeneration = boundsGeneration();
    m_bBuilt = true;
}

namespace {

float centreOf(const Bounds3& box, int axis) {
    return axis == 0 ? 0.5f * (box.lo.x + box.hi.x) : 0.5f * (box.lo.z + box.hi.z);
}

}  // namespace

// Patches are squares on the floor (x and z; y is up), as many as give about
// PER_PATCH subtrees each on average.
void RootCuller::groupFixed() {
    constexpr std::size_t PER_PATCH = 32;
    m_moving.clear();
    m_fixed.clear();
    m_patches.clear();
    m_uiNextFixedCheck = 0;
    float lo[2] = {0.0f, 0.0f};
    float hi[2] = {0.0f, 0.0f};
    for (std::uint32_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        if (!entry.node->isFixedInPlace() || entry.alwaysDrawn || entry.box.empty) {
            m_moving.push_back(i);
            continue;
        }
        for (int axis = 0; axis < 2; ++axis) {
            const float c = centreOf(entry.box, axis);
            lo[axis] = m_fixed.empty() ? c : std::min(lo[axis], c);
            hi[axis] = m_fixed.empty() ? c : std::max(hi[axis], c);
        }
        m_fixed.push_back(i);
    }
    if (m_fixed.empty()) {
        return;
    }
    const auto side = static_cast<std::size_t>(
        std::max(1.0, std::round(std::sqrt(static_cast<double>(m_fixed.size()) / PER_PATCH))));
    auto patchOf = [&](const Entry& entry) {
        std::size_t index[2];
        for (int axis = 0; axis < 2; ++axis) {
            const float span = hi[axis] - lo[axis];
            const float t = span > 0.0f ? (centreOf(entry.box, axis) - lo[axis]) / span : 0.0f;
            index[axis] =
                std::min(side - 1, static_cast<std::size_t>(t * static_cast<float>(side)));
        }
        return index[1] * side + index[0];
    };
    // Sorted by patch, and within a patch by index, which is chain order.
    std::vector<std::pair<std::size_t, std::uint32_t>> byPatch;
    for (std::uint32_t i : m_fixed) {
        byPatch.emplace_back(patchOf(m_entries[i]), i);
    }
    std::sort(byPatch.begin(), byPatch.end());
    for (std::size_t k = 0; k < byPatch.size(); ++k) {
        m_fixed[k] = byPatch[k].second;
    }
    for (std::size_t first = 0; first < byPatch.size();) {
        std::size_t end = first;
        Patch patch{Bounds3(), static_cast<std::uint32_t>(first), 0};
        // Each member counts with its own margin, so a patch found outside
        // holds no member that its own test would have kept.
        for (; end < byPatch.size() && byPatch[end].first == byPatch[first].first; ++end) {
            const Bounds3& box = m_entries[m_fixed[end]].box;
            const float margin = cullMargin(box);
            patch.box.add(box.lo.subtract(Vector3(margin, margin, margin)));
            patch.box.add(box.hi.add(Vector3(margin, margin, margin)));
        }
        patch.memberCount = static_cast<std::uint32_t>(end - first);
        m_patches.push_back(patch);
        first = end;
    }
}

void RootCuller::measure(Entry& entry) {
    m_scratch.clear();
    Collected collected;
    collect(entry.node, Affine(), collected, m_scratch);
    entry.box = collected.box;
    entry.alwaysDrawn = collected.unknown || collected.light || !entry.node->isTransform();
    const auto count = static_cast<std::uint32_t>(m_scratch.size());
    if (count > entry.watchCount || entry.watchCount == 0) {
        entry.firstWatch = static_cast<std::uint32_t>(m_watches.size());
        m_watches.insert(m_watches.end(), m_scratch.begin(), m_scratch.end());
    } else {
        std::copy(m_scratch.begin(), m_scratch.end(), m_watches.begin() + entry.firstWatch);
    }
    m_uiLiveWatches = m_uiLiveWatches - entry.watchCount + count;
    entry.watchCount = count;
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

// The next few fixed subtrees, in turn: true when one of them changed after
// all.
bool RootCuller::fixedMoved() {
    const std::size_t count = std::min(FIXED_CHECKS_PER_FRAME, m_fixed.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (m_uiNextFixedCheck >= m_fixed.size()) {
            m_uiNextFixedCheck = 0;
        }
        if (changed(m_entries[m_fixed[m_uiNextFixedCheck++]])) {
            return true;
        }
    }
    return false;
}

bool RootCuller::mayBeSeen(const Entry& entry, const Frustum& frustum) const {
    return entry.alwaysDrawn || (!entry.box.empty && !frustum.outside(entry.box));
}

void RootCuller::drawOpaque(Node* first, const Frustum& frustum) {
    // A subtree whose watch list grew was given a new range at the end; the
    // old ranges are dropped when they come to outweigh the live ones.
    const bool bloated = m_watches.size() > 2 * m_uiLiveWatches + 4096;
    if (!m_bBuilt || first != m_pFirst || boundsGeneration() != m_uiGeneration || bloated ||
        fixedMoved()) {
        rebuild(first);
    }
    m_toDraw.clear();
    m_culled = 0;
    for (std::uint32_t index : m_moving) {
        Entry& entry = m_entries[index];
        if (changed(entry)) {
            measure(entry);
        }
        if (mayBeSeen(entry, frustum)) {
            m_toDraw.push_back(index);
        } else {
            ++m_culled;
        }
    }
    for (const Patch& patch : m_patches) {
        if (frustum.outside(patch.box)) {
            m_culled += patch.memberCount;
            continue;
        }
        for (std::uint32_t k = patch.firstMember; k < patch.firstMember + patch.memberCount; ++k) {
            if (mayBeSeen(m_entries[m_fixed[k]], frustum)) {
                m_toDraw.push_back(m_fixed[k]);
            } else {
                ++m_culled;
            }
        }
    }
    std::sort(m_toDraw.begin(), m_toDraw.end());  // chain order
    m_drawn = m_toDraw.size();
    for (std::uint32_t index : m_toDraw) {
        m_entries[index].node->render(false, false);
    }
}
