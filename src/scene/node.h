#pragma once
#include <cstdint>

#include "scene/color.h"
#include "scene/matrix.h"
#include "scene/vector.h"

class ListingLine;
class NodeResourceCollector;
class NodeSaveStream;

enum NodeType : std::int32_t {
    NODE_TRANSFORM = 0,
    NODE_SHAPE = 1,
    NODE_LIGHT = 2,
};

// A scene-graph node. Nodes are linked into trees by first-child and sibling
// links; only the first node of a sibling chain holds the parent link. A
// node owns nothing but its name: the Scene owns every node object.
class Node {
public:
    virtual ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // Writes this node (and what it goes on to) to the stream; false when a
    // write failed (the failure has been shown). A transform saved as the top
    // node does not go on to its siblings; every other node does.
    virtual bool save(NodeSaveStream& stream, NodeResourceCollector& collector, bool isTop);
    // Draws this node; with continueSiblings it goes on along the sibling chain.
    virtual void render(bool transparentPass, bool continueSiblings);
    // Writes this node's debug-listing line, then its children (depth + 1)
    // and its later siblings (same depth).
    virtual void print(int depth, bool detailed);

    // False for a null text (the name is then null).
    bool setName(const char* text);
    const char* getName() const { return m_szName; }
    // Pre-order search of this node, its descendants, its later siblings and
    // theirs.
    Node* findByName(const char* text);
    Node* getParent() const;
    bool attachTo(Node* parent);
    bool attachAsSiblingOf(Node* node);
    // True when node is a descendant of this node (not this node itself).
    bool isInSubtree(const Node* node) const;

    bool isTransform() const { return m_eType == NODE_TRANSFORM; }
    bool isShape() const { return m_eType == NODE_SHAPE; }
    bool isLight() const { return m_eType == NODE_LIGHT; }
    NodeType type() const { return m_eType; }

    bool isVisible() const { return m_bVisible; }
    void setVisible(bool visible) { m_bVisible = visible; }

    // The owner's promise that nothing in this subtree will move, turn,
    // scale or change visibility through the public fields (walls and
    // floors). The culler then groups the subtree with its neighbours and
    // stops comparing its transforms every frame, which is what keeps the
    // cost of a frame flat in the size of the map. Only root-level nodes'
    // promises are used. A broken promise is noticed within a few hundred
    // frames (a few such subtrees are still compared each frame).
    void setFixedInPlace(bool fixed);
    bool isFixedInPlace() const { return m_bFixedInPlace; }

    Node* prev() const { return m_pPrev; }
    Node* parentLink() const { return m_pParent; }
    Node* next() const { return m_pNext; }
    Node* child() const { return m_pChild; }

protected:
    explicit Node(NodeType type) : m_eType(type) {}
    // The per-node parts of the walks above. The sibling chains are followed
    // by loops in the base class, so long chains (a level has thousands of
    // siblings) cost no stack.
    virtual bool saveSelf(NodeSaveStream& stream, NodeResourceCollector& collector, bool isTop) = 0;
    virtual void renderSelf(bool transparentPass) = 0;
    // Appends the node's own text (keyword and, when detailed, attributes).
    virtual void describe(ListingLine& line, bool detailed) const = 0;
    void appendName(ListingLine& line) const;
    // Tells the culler that the box of the subtree this node was last
    // measured in may have changed in a way its per-frame checks miss.
    void noteBoundsChanged() const;

    Node* m_pPrev = nullptr;
    Node* m_pParent = nullptr;
    Node* m_pNext = nullptr;
    Node* m_pChild = nullptr;
    bool m_bVisible = true;
    bool m_bFixedInPlace = false;
    NodeType m_eType;
    char* m_szName = nullptr;

private:
    friend class RootCuller;
    void appendToChain(Node* first);

    // Where the culler last met this node: the root-level subtree's top and
    // its place in the chain (none until it has been measured; a node under
    // a hidden transform is not met, as nothing there counts until that
    // transform is shown and its own check sees it).
    const Node* m_pCullRoot = nullptr;
    std::uint32_t m_uiCullIndex = 0;
};

// A node that moves, turns and scales its subtree.
class NodeTransform : public Node {
public:
    NodeTransform() : Node(NODE_TRANSFORM) {}
    // Takes the source's visible flag and geometry of space; no links, no name.
    explicit NodeTransform(const NodeTransform& source);

    // The axis is normalised; false when it came out as (0, 0, 0).
    bool setAxis(float x, float y, float z);
    bool setAxis(const Vector3& axis) { return setAxis(axis.x, axis.y, axis.z); }
    const Vector3& axis() const { return m_vAxis; }
    void setMatrix(const float* sixteen);
    const Matrix4& matrix() const { return m_mMatrix; }
    void setUseMatrix(bool use);
    bool usesMatrix() const { return m_bUseMatrix; }

    Vector3 m_vTranslation{0.0f, 0.0f, 0.0f};
    Vector3 m_vCentre{0.0f, 0.0f, 0.0f};
    Vector3 m_vScale{1.0f, 1.0f, 1.0f};
    float m_fAngle = 0.0f;

protected:
    bool saveSelf(NodeSaveStream& stream, NodeResourceCollector& collector, bool isTop) override;
    void renderSelf(bool transparentPass) override;
    void describe(ListingLine& line, bool detailed) const override;

private:
    bool m_bUseMatrix = false;
    Matrix4 m_mMatrix;
    Vector3 m_vAxis{0.0f, 0.0f, 1.0f};
};
