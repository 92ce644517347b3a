// Expression-tree nodes, the node factory the parser and the symbols call,
// and the one factory implementation whose nodes emit virtual-machine
// operations.
//
// The parser describes a formula operands first, one factory call per
// number, variable, operator and function call. The factory keeps every node
// in creation order, so every operand precedes its user and the root comes
// last; BuildProgram turns the nodes into a program in two flat passes over
// that list (no recursion, however deep the tree).
#pragma once

#include "QrvExprVirtMach.h"
#include "QrvFloat.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace qrv
{

class TExprVirtMachNode;

class TExprNode
{
public:
    explicit TExprNode(std::initializer_list<TExprNode*> children = {});
    TExprNode(const TExprNode&) = delete;
    TExprNode& operator=(const TExprNode&) = delete;
    virtual ~TExprNode() = default;

    void AddChild(TExprNode* child) { children_.push_back(child); }
    std::size_t ChildCount() const { return children_.size(); }
    TExprNode* Child(std::size_t index) const { return children_.at(index); }

    // This node as a machine node, or none: a cheap checked downcast.
    virtual const TExprVirtMachNode* AsVirtMachNode() const { return nullptr; }

    // Set on a call node whose function is pure (see TExprAbstractFuncSym).
    void SetPureCall(bool pure) { pureCall_ = pure; }
    bool PureCall() const { return pureCall_; }

private:
    std::vector<TExprNode*> children_; // not owned: the factory owns every node
    bool pureCall_ = false;
};

// The parameters of a call form's factory method: the function, then one
// node per argument.
#define QRV_EXPR_CALL_PARAMETERS_0(T) TExprFunc<T, 0> f
#define QRV_EXPR_CALL_PARAMETERS_1(T) TExprFunc<T, 1> f, Node x
#define QRV_EXPR_CALL_PARAMETERS_2(T) TExprFunc<T, 2> f, Node x, Node y
#define QRV_EXPR_CALL_PARAMETERS_3(T) TExprFunc<T, 3> f, Node x, Node y, Node z

// The abstract factory: what the parser and the symbols know of nodes.
class TExprNodeFactory
{
public:
    TExprNodeFactory() = default;
    TExprNodeFactory(const TExprNodeFactory&) = delete;
    TExprNodeFactory& operator=(const TExprNodeFactory&) = delete;
    virtual ~TExprNodeFactory() = default;

    using Node = TExprNode*;

    virtual Node LoadVar32(const float* location) = 0;
    virtual Node LoadVar64(const double* location) = 0;
    virtual Node LoadVar80(const Float* location) = 0;
    virtual Node LoadConst32(float value) = 0;
    virtual Node LoadConst64(double value) = 0;
    virtual Node LoadConst80(Float value) = 0;

    // CallFloatFunc(f), CallFloat32Func(f) ... CallTernary80Func(f, x, y, z):
    // one per call form (QRV_EXPR_CALL_FORMS), f taking the form's
    // arguments, one node per argument.
#define QRV_EXPR_CALL_METHOD(Name, T, N, M)                                                                  \
    virtual Node Call##Name##Func(QRV_EXPR_CALL_PARAMETERS_##N(T)) = 0;
    QRV_EXPR_CALL_FORMS(QRV_EXPR_CALL_METHOD)
#undef QRV_EXPR_CALL_METHOD

    // One method per row of the operator table (QrvExprOperations.h), named
    // in its Method column: Negate(x), LogicalNot(x), BitwiseNot(x) for the
    // prefix operators; Add(l, r), Subtract(l, r), ... CompareEqual(l, r),
    // ... ShiftRight(l, r) for the two-operand ones.
#define QRV_EXPR_UNARY_METHOD(C, K, Method, ...) virtual Node Method(Node x) = 0;
#define QRV_EXPR_BINARY_METHOD(C, K, Method, ...) virtual Node Method(Node l, Node r) = 0;
    QRV_EXPR_UNARY_OPERATORS(QRV_EXPR_UNARY_METHOD)
    QRV_EXPR_BINARY_OPERATORS(QRV_EXPR_BINARY_METHOD)
#undef QRV_EXPR_UNARY_METHOD
#undef QRV_EXPR_BINARY_METHOD
};

// ---- nodes that emit virtual-machine operations ---------------------------

class TExprVirtMachNode : public TExprNode
{
public:
    using TExprNode::TExprNode;

    // Creates this node's operation, records it and appends it to the
    // machine, which owns it.
    virtual void Emit(TExprVirtMach& machine) = 0;
    const TExprVirtMachNode* AsVirtMachNode() const override { return this; }
    // Constants are emitted first, into the constant list.
    virtual bool IsConstant() const { return false; }

    TExprVirtMachOp* EmittedOp() const { return emitted_; }
    void ResetEmitted() { emitted_ = nullptr; }

protected:
    // The output slot of the index-th child's operation; the child is
    // emitted before this node because it was created first.
    const Float* OperandLocation(std::size_t index) const;
    void Record(TExprVirtMachOp* op) { emitted_ = op; }

private:
    TExprVirtMachOp* emitted_ = nullptr; // owned by the machine
};

// The operation class a one-operand or two-operand node instantiates.
using TExprUnaryOpClass = std::unique_ptr<TExprVirtMachOp> (*)(const Float* operand);
using TExprBinaryOpClass = std::unique_ptr<TExprVirtMachOp> (*)(const Float* left, const Float* right);

template <class Op> std::unique_ptr<TExprVirtMachOp> CreateUnaryOp(const Float* operand)
{
    return std::make_unique<Op>(operand);
}
template <class Op> std::unique_ptr<TExprVirtMachOp> CreateBinaryOp(const Float* left, const Float* right)
{
    return std::make_unique<Op>(left, right);
}

class TExprUnaryVmNode final : public TExprVirtMachNode
{
public:
    TExprUnaryVmNode(TExprUnaryOpClass opClass, std::initializer_list<TExprNode*> children);
    void Emit(TExprVirtMach& machine) override;

private:
    TExprUnaryOpClass opClass_;
};

class TExprBinaryVmNode final : public TExprVirtMachNode
{
public:
    TExprBinaryVmNode(TExprBinaryOpClass opClass, std::initializer_list<TExprNode*> children);
    void Emit(TExprVirtMach& machine) override;

private:
    TExprBinaryOpClass opClass_;
};

class TExprConstVmNode final : public TExprVirtMachNode
{
public:
    explicit TExprConstVmNode(Float value) : value_(value) {}
    void Emit(TExprVirtMach& machine) override;
    bool IsConstant() const override { return true; }

private:
    Float value_;
};

// A variable load of the given width: T is float, double or Float.
template <class T, class Op> class TExprVarVmNodeT final : public TExprVirtMachNode
{
public:
    explicit TExprVarVmNodeT(const T* location) : location_(location) {}
    void Emit(TExprVirtMach& machine) override { Record(machine.Add(std::make_unique<Op>(location_))); }

private:
    const T* location_;
};

using TExprVar32VmNode = TExprVarVmNodeT<float, TExprVar32VmOp>;
using TExprVar64VmNode = TExprVarVmNodeT<double, TExprVar64VmOp>;
using TExprVar80VmNode = TExprVarVmNodeT<Float, TExprVar80VmOp>;

// A function call node: Op is one of the call operation classes; the
// children are the arguments in order.
template <class Op, std::size_t N> class TExprCallVmNodeT final : public TExprVirtMachNode
{
public:
    using TFunction = typename Op::TFunction;

    template <class... Args>
    requires(sizeof...(Args) == N) explicit TExprCallVmNodeT(TFunction function, Args... arguments)
        : TExprVirtMachNode(std::initializer_list<TExprNode*>{arguments...}), function_(function)
    {
    }
    void Emit(TExprVirtMach& machine) override { EmitWith(machine, std::make_index_sequence<N>{}); }

private:
    template <std::size_t... I> void EmitWith(TExprVirtMach& machine, std::index_sequence<I...>)
    {
        auto op = std::make_unique<Op>(function_, OperandLocation(I)...);
        op->SetPure(PureCall());
        Record(machine.Add(std::move(op)));
    }

    TFunction function_;
};

#define QRV_EXPR_CALL_NODE(Name, T, N, M)                                                                    \
    using TExprCall##Name##VmNode = TExprCallVmNodeT<TExprCall##Name##VmOp, N>;
QRV_EXPR_CALL_FORMS(QRV_EXPR_CALL_NODE)
#undef QRV_EXPR_CALL_NODE

// The factory whose nodes become a virtual-machine program. It owns every
// node it creates; the emitted operations belong to the machine.
class TExprVirtMachNodeFactory final : public TExprNodeFactory
{
public:
    TExprVirtMachNodeFactory() = default;
    ~TExprVirtMachNodeFactory() override;

    // Clears the machine and fills it: constants first (into the constant
    // list), then every other node in creation order (into the code list).
    void BuildProgram(TExprVirtMach& machine);

    std::size_t NodeCount() const { return nodes_.size(); }

    Node LoadVar32(const float* location) override;
    Node LoadVar64(const double* location) override;
    Node LoadVar80(const Float* location) override;
    Node LoadConst32(float value) override;
    Node LoadConst64(double value) override;
    Node LoadConst80(Float value) override;

#define QRV_EXPR_CALL_METHOD(Name, T, N, M) Node Call##Name##Func(QRV_EXPR_CALL_PARAMETERS_##N(T)) override;
    QRV_EXPR_CALL_FORMS(QRV_EXPR_CALL_METHOD)
#undef QRV_EXPR_CALL_METHOD

#define QRV_EXPR_UNARY_METHOD(C, K, Method, ...) Node Method(Node x) override;
#define QRV_EXPR_BINARY_METHOD(C, K, Method, ...) Node Method(Node l, Node r) override;
    QRV_EXPR_UNARY_OPERATORS(QRV_EXPR_UNARY_METHOD)
    QRV_EXPR_BINARY_OPERATORS(QRV_EXPR_BINARY_METHOD)
#undef QRV_EXPR_UNARY_METHOD
#undef QRV_EXPR_BINARY_METHOD

private:
    template <class NodeClass, class... Args> Node Make(Args&&... args);

    std::vector<std::unique_ptr<TExprVirtMachNode>> nodes_; // creation order
};

} // namespace qrv
