#pragma once

// Operator and function handlers of the COMPLEX evaluator (double precision).
// Contract: the operands are the top entries of the operand array (the left
// operand below the right one); the result replaces the first operand and the
// count ends one above it. Fewer operands above the group base than needed:
// error -1 and nothing changes.

#include "engine/MyDefine.h"

typedef void (*LPFNHANDLER)(COMPLEX* pStack, long& nCount, long nBase);

void Add(COMPLEX* pStack, long& nCount, long nBase);
void Sub(COMPLEX* pStack, long& nCount, long nBase);
void Mul(COMPLEX* pStack, long& nCount, long nBase);
void Div(COMPLEX* pStack, long& nCount, long nBase);
void Pow(COMPLEX* pStack, long& nCount, long nBase);
void Root(COMPLEX* pStack, long& nCount, long nBase);
void iroot(COMPLEX* pStack, long& nCount, long nBase);
void Exp(COMPLEX* pStack, long& nCount, long nBase);
void iexp(COMPLEX* pStack, long& nCount, long nBase);
void Percent(COMPLEX* pStack, long& nCount, long nBase);
void Factorial(COMPLEX* pStack, long& nCount, long nBase);
void mod(COMPLEX* pStack, long& nCount, long nBase);
void shl(COMPLEX* pStack, long& nCount, long nBase);
void shr(COMPLEX* pStack, long& nCount, long nBase);
void rtl(COMPLEX* pStack, long& nCount, long nBase);
void rtr(COMPLEX* pStack, long& nCount, long nBase);
void ANDF(COMPLEX* pStack, long& nCount, long nBase);
void ORF(COMPLEX* pStack, long& nCount, long nBase);
void XORF(COMPLEX* pStack, long& nCount, long nBase);
void NANDF(COMPLEX* pStack, long& nCount, long nBase);
void NORF(COMPLEX* pStack, long& nCount, long nBase);
void Not(COMPLEX* pStack, long& nCount, long nBase);
void cpl(COMPLEX* pStack, long& nCount, long nBase);
void Sqrt(COMPLEX* pStack, long& nCount, long nBase);
void Abs(COMPLEX* pStack, long& nCount, long nBase);
void Ln(COMPLEX* pStack, long& nCount, long nBase);
void Log(COMPLEX* pStack, long& nCount, long nBase);
void Sin(COMPLEX* pStack, long& nCount, long nBase);
void Cos(COMPLEX* pStack, long& nCount, long nBase);
void Tan(COMPLEX* pStack, long& nCount, long nBase);
void CTan(COMPLEX* pStack, long& nCount, long nBase);
void Sec(COMPLEX* pStack, long& nCount, long nBase);
void Csec(COMPLEX* pStack, long& nCount, long nBase);
void ASin(COMPLEX* pStack, long& nCount, long nBase);
void ACos(COMPLEX* pStack, long& nCount, long nBase);
void ATan(COMPLEX* pStack, long& nCount, long nBase);
void ACot(COMPLEX* pStack, long& nCount, long nBase);
void ASec(COMPLEX* pStack, long& nCount, long nBase);
void ACsec(COMPLEX* pStack, long& nCount, long nBase);
void Sinh(COMPLEX* pStack, long& nCount, long nBase);
void Cosh(COMPLEX* pStack, long& nCount, long nBase);
void Tanh(COMPLEX* pStack, long& nCount, long nBase);
void Ctanh(COMPLEX* pStack, long& nCount, long nBase);
void Sech(COMPLEX* pStack, long& nCount, long nBase);
void Csech(COMPLEX* pStack, long& nCount, long nBase);
void ASinh(COMPLEX* pStack, long& nCount, long nBase);
void ACosh(COMPLEX* pStack, long& nCount, long nBase);
void ATanh(COMPLEX* pStack, long& nCount, long nBase);
void ACoth(COMPLEX* pStack, long& nCount, long nBase);
void ASech(COMPLEX* pStack, long& nCount, long nBase);
void ACsech(COMPLEX* pStack, long& nCount, long nBase);
