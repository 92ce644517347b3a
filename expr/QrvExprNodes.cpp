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

Node TExprVirtMachNodeFactory::CallFloatFunc(TExprFloatFunc f)
{
    return Make<TExprCallFloatVmNode>(f);
}
Node TExprVirtMachNodeFactory::CallFloat32Func(TExprFloat32Func f)
{
    return Make<TExprCallFloat32VmNode>(f);
}
Node TExprVirtMachNodeFactory::CallFloat64Func(TExprFloat64Func f)
{
    return Make<TExprCallFloat64VmNode>(f);
}
Node TExprVirtMachNodeFactory::CallFloat80Func(TExprFloatFunc f)
{
    return Make<TExprCallFloat80VmNode>(f);
}

Node TExprVirtMachNodeFactory::CallUnaryFunc(TExprUnaryFunc f, Node x)
{
    return Make<TExprCallUnaryVmNode>(f, x);
}
Node TExprVirtMachNodeFactory::CallUnary32Func(TExprUnary32Func f, Node x)
{
    return Make<TExprCallUnary32VmNode>(f, x);
}
Node TExprVirtMachNodeFactory::CallUnary64Func(TExprUnary64Func f, Node x)
{
    return Make<TExprCallUnary64VmNode>(f, x);
}
Node TExprVirtMachNodeFactory::CallUnary80Func(TExprUnaryFunc f, Node x)
{
    return Make<TExprCallUnary80VmNode>(f, x);
}

Node TExprVirtMachNodeFactory::CallBinaryFunc(TExprBinaryFunc f, Node x, Node y)
{
    return Make<TExprCallBinaryVmNode>(f, x, y);
}
Node TExprVirtMachNodeFactory::CallBinary32Func(TExprBinary32Func f, Node x, Node y)
{
    return Make<TExprCallBinary32VmNode>(f, x, y);
}
Node TExprVirtMachNodeFactory::CallBinary64Func(TExprBinary64Func f, Node x, Node y)
{
    return Make<TExprCallBinary64VmNode>(f, x, y);
}
Node TExprVirtMachNodeFactory::CallBinary80Func(TExprBinaryFunc f, Node x, Node y)
{
    return Make<TExprCallBinary80VmNode>(f, x, y);
}

Node TExprVirtMachNodeFactory::CallTernaryFunc(TExprTernaryFunc f, Node x, Node y, Node z)
{
    return Make<TExprCallTernaryVmNode>(f, x, y, z);
}
Node TExprVirtMachNodeFactory::CallTernary32Func(TExprTernary32Func f, Node x, Node y, Node z)
{
    return Make<TExprCallTernary32VmNode>(f, x, y, z);
}
Node TExprVirtMachNodeFactory::CallTernary64Func(TExprTernary64Func f, Node x, Node y, Node z)
{
    return Make<TExprCallTernary64VmNode>(f, x, y, z);
}
Node TExprVirtMachNodeFactory::CallTernary80Func(TExprTernaryFunc f, Node x, Node y, Node z)
{
    return Make<TExprCallTernary80VmNode>(f, x, y, z);
}

// Operators: one node per operator, generic over the operation class.
#define QRV_UNARY(Method, Op)                                                                                \
    Node TExprVirtMachNodeFactory::Method(Node x)                                                            \
    {                                                                                                        \
        return Make<TExprUnaryVmNode>(&CreateUnaryOp<Op>, std::initializer_list<TExprNode*>{x});             \
    }
#define QRV_BINARY(Method, Op)                                                                               \
    Node TExprVirtMachNodeFactory::Method(Node l, Node r)                                                    \
    {                                                                                                        \
        return Make<TExprBinaryVmNode>(&CreateBinaryOp<Op>, std::initializer_list<TExprNode*>{l, r});        \
    }

QRV_BINARY(Add, TExprAddVmOp)
QRV_BINARY(Subtract, TExprSubtractVmOp)
QRV_BINARY(Multiply, TExprMultiplyVmOp)
QRV_BINARY(Divide, TExprDivideVmOp)
QRV_BINARY(IntegerDivide, TExprIntegerDivideVmOp)
QRV_BINARY(Modulo, TExprModuloVmOp)
QRV_UNARY(Negate, TExprNegateVmOp)

QRV_BINARY(Compare, TExprCompareVmOp)
QRV_BINARY(CompareEqual, TExprEqualVmOp)
QRV_BINARY(CompareNotEqual, TExprNotEqualVmOp)
QRV_BINARY(CompareLess, TExprLessVmOp)
QRV_BINARY(CompareLessEqual, TExprLessEqualVmOp)
QRV_BINARY(CompareGreater, TExprGreaterVmOp)
QRV_BINARY(CompareGreaterEqual, TExprGreaterEqualVmOp)

QRV_BINARY(LogicalAnd, TExprLogicalAndVmOp)
QRV_BINARY(LogicalOr, TExprLogicalOrVmOp)
QRV_BINARY(LogicalXor, TExprLogicalXorVmOp)
QRV_UNARY(LogicalNot, TExprLogicalNotVmOp)

QRV_BINARY(BitwiseAnd, TExprBitwiseAndVmOp)
QRV_BINARY(BitwiseOr, TExprBitwiseOrVmOp)
QRV_BINARY(BitwiseXor, TExprBitwiseXorVmOp)
QRV_UNARY(BitwiseNot, TExprBitwiseNotVmOp)
QRV_BINARY(ShiftLeft, TExprShiftLeftVmOp)
QRV_BINARY(ShiftRight, TExprShiftRightVmOp)

#undef QRV_UNARY
#undef QRV_BINARY

} // namespace qrv
