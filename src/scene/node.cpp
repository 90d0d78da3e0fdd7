#include "scene/node.h"

#include <cstring>
#include <new>

#include "scene/render_state.h"
#include "scene/scene_report.h"

Node::~Node() {
    delete[] m_szName;
}

bool Node::save(NodeSaveStream& stream, NodeResourceCollector& collector, bool isTop) {
    bool top = isTop;
    for (Node* node = this; node; node = node->m_pNext) {
        if (!node->saveSelf(stream, collector, top)) {
            return false;
        }
        if (top && node->isTransform()) {
            return true;
        }
        top = false;
    }
    return true;
}

void Node::render(bool transparentPass, bool continueSiblings) {
    renderSelf(transparentPass);
    if (!continueSiblings) {
        return;
    }
    for (Node* node = m_pNext; node; node = node->m_pNext) {
        node->renderSelf(transparentPass);
    }
}

void Node::print(int depth, bool detailed) {
    for (Node* node = this; node; node = node->m_pNext) {
        ListingLine line;
        if (depth <= 32) {
            for (int i = 0; i < depth; ++i) {
                line.append("+");
            }
        } else {
            line.append("INVALID DEPTH(%d): ", depth);
        }
        node->describe(line, detailed);
        line.emit();
        if (node->m_pChild) {
            node->m_pChild->print(depth + 1, detailed);
        }
    }
}

void Node::appendName(ListingLine& line) const {
    if (m_szName) {
        line.append(" name_%s", m_szName);
    }
}

bool Node::setName(const char* text) {
    delete[] m_szName;
    m_szName = nullptr;
    if (!text) {
        return false;
    }
    std::size_t size = std::strlen(text) + 1;
    m_szName = new (std::nothrow) char[size];
    if (!m_szName) {
        return false;
    }
    std::memcpy(m_szName, text, size);
    return true;
}

Node* Node::findByName(const char* text) {
    if (!text) {
        return nullptr;
    }
    for (Node* node = this; node; node = node->m_pNext) {
        if (node->m_szName && std::strcmp(node->m_szName, text) == 0) {
            return node;
        }
        if (node->m_pChild) {
            if (Node* hit = node->m_pChild->findByName(text)) {
                return hit;
            }
        }
    }
    return nullptr;
}

Node* Node::getParent() const {
    if (m_pParent) {
        return m_pParent;
    }
    for (const Node* node = m_pPrev; node; node = node->m_pPrev) {
        if (node->m_pParent) {
            return node->m_pParent;
        }
    }
    return nullptr;
}

void Node::noteBoundsChanged() const {
    if (m_pCullRoot) {
        noteBoundsChange(m_pCullRoot, m_uiCullIndex);
    }
}

void Node::setFixedInPlace(bool fixed) {
    if (fixed != m_bFixedInPlace) {
        m_bFixedInPlace = fixed;
        noteBoundsChanged();
    }
}

// The old last node of the chain was met with the chain's other members, so
// it names the subtree that grew. When it tops a subtree itself, the chain
// is the root chain, whose new nodes the culler finds on its own after the
// last one it knows.
void Node::appendToChain(Node* first) {
    Node* last = first;
    while (last->m_pNext) {
        last = last->m_pNext;
    }
    m_pPrev = last;
    last->m_pNext = this;
    if (last->m_pCullRoot != last) {
        last->noteBoundsChanged();
    }
}

bool Node::attachTo(Node* parent) {
    if (!parent) {
        return false;
    }
    if (!parent->m_pChild) {
        parent->m_pChild = this;
        m_pParent = parent;
        parent->noteBoundsChanged();
    } else {
        appendToChain(parent->m_pChild);
    }
    return true;
}

bool Node::attachAsSiblingOf(Node* node) {
    if (!node) {
        return false;
    }
    appendToChain(node);
    return true;
}

bool Node::isInSubtree(const Node* node) const {
    for (const Node* c = m_pChild; c; c = c->m_pNext) {
        if (c == node || c->isInSubtree(node)) {
            return true;
        }
    }
    return false;
}
