#include "QrvExprNodes.h"

#include "QrvErrors.h"

namespace qrv
{

TExprNode::TExprNode(std::initializer_list<TExprNode*> children) : children_(children) {}

const Float* TExprVirtMachNode::OperandLocation(std::size_t index) const
{
    // Every child comes from the same factory, so it is a machine node; a
    // foreign node would be a programming error, not a formula error.
    const TExprVirtMachNode* child = Child(index)->AsVirtMachNode();
    QRV_ASSERT(child != nullptr && child->EmittedOp() != nullptr, MessageText(Msg::AssertionFailure));
    return child->EmittedOp()->OutputLocation();
}

TExprUnaryVmNode::TExprUnaryVmNode(TExprUnaryOpClass opClass, std::initializer_list<TExprNode*> children)
    : TExprVirtMachNode(children), opClass_(opClass)
{
    QRV_ASSERT(ChildCount() == 1, MessageText(Msg::AssertionFailure));
}

void TExprUnaryVmNode::Emit(TExprVirtMach& machine)
{
    Record(machine.Add(opClass_(OperandLocation(0))));
}

TExprBinaryVmNode::TExprBinaryVmNode(TExprBinaryOpClass opClass, std::initializer_list<TExprNode*> children)
    : TExprVirtMachNode(children), opClass_(opClass)
{
    QRV_ASSERT(ChildCount() == 2, MessageText(Msg::AssertionFailure));
}

void TExprBinaryVmNode::Emit(TExprVirtMach& machine)
{
    Record(machine.Add(opClass_(OperandLocation(0), OperandLocation(1))));
}

void TExprConstVmNode::Emit(TExprVirtMach& machine)
{
    Record(machine.AddConst(std::make_unique<TExprConstVmOp>(value_)));
}

// ---- the factory ----------------------------------------------------------

TExprVirtMachNodeFactory::~TExprVirtMachNodeFactory() = default;

template <class NodeClass, class... Args> TExprNode* TExprVirtMachNodeFactory::Make(Args&&... args)
{
    return nodes_.emplace_back(std::make_unique<NodeClass>(std::forward<Args>(args)...)).get();
}

void TExprVirtMachNodeFactory::BuildProgram(TExprVirtMach& machine)
{
    machine.Clear();
    for (auto& node : nodes_)
        node->ResetEmitted();
    for (auto& node : nodes_)
        if (node->IsConstant() && node->EmittedOp() == nullptr) node->Emit(machine);
    for (auto& node : nodes_)
        if (node->EmittedOp() == nullptr) node->Emit(machine);
}

using Node = TExprNodeFactory::Node;

Node TExprVirtMachNodeFactory::LoadVar32(const float* location)
{
    return Make<TExprVar32VmNode>(location);
}
Node TExprVirtMachNodeFactory::LoadVar64(const double* location)
{
    return Make<TExprVar64VmNode>(location);
}
Node TExprVirtMachNodeFactory::LoadVar80(const Float* location)
{
    return Make<TExprVar80VmNode>(location);
}
Node TExprVirtMachNodeFactory::LoadConst32(float value)
{
    return LoadConst80(value);
}
Node TExprVirtMachNodeFactory::LoadConst64(double value)
{
    return LoadConst80(value);
}
Node TExprVirtMachNodeFactory::LoadConst80(Float value)
{
    return Make<TExprConstVmNode>(value);
}

// The arguments of a call form's node, as its factory method received them.
#define QRV_EXPR_CALL_ARGUMENTS_0 f
#define QRV_EXPR_CALL_ARGUMENTS_1 f, x
#define QRV_EXPR_CALL_ARGUMENTS_2 f, x, y
#define QRV_EXPR_CALL_ARGUMENTS_3 f, x, y, z
#define QRV_EXPR_CALL_METHOD(Name, T, N, M)                                                                  \
    Node TExprVirtMachNodeFactory::Call##Name##Func(QRV_EXPR_CALL_PARAMETERS_##N(T))                         \
    {                                                                                                        \
        return Make<TExprCall##Name##VmNode>(QRV_EXPR_CALL_ARGUMENTS_##N);                                   \
    }
QRV_EXPR_CALL_FORMS(QRV_EXPR_CALL_METHOD)
#undef QRV_EXPR_CALL_METHOD
#undef QRV_EXPR_CALL_ARGUMENTS_0
#undef QRV_EXPR_CALL_ARGUMENTS_1
#undef QRV_EXPR_CALL_ARGUMENTS_2
#undef QRV_EXPR_CALL_ARGUMENTS_3

// Operators: one node per operator, generic over the operation class.
#define QRV_UNARY(C, K, Method, ...)                                                                         \
    Node TExprVirtMachNodeFactory::Method(Node x)                                                            \
    {                                                                                                        \
        return Make<TExprUnaryVmNode>(&CreateUnaryOp<C>, std::initializer_list<TExprNode*>{x});              \
    }
#define QRV_BINARY(C, K, Method, ...)                                                                        \
    Node TExprVirtMachNodeFactory::Method(Node l, Node r)                                                    \
    {                                                                                                        \
        return Make<TExprBinaryVmNode>(&CreateBinaryOp<C>, std::initializer_list<TExprNode*>{l, r});         \
    }
QRV_EXPR_UNARY_OPERATORS(QRV_UNARY)
QRV_EXPR_BINARY_OPERATORS(QRV_BINARY)
#undef QRV_UNARY
#undef QRV_BINARY

} // namespace qrv
