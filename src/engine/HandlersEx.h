#pragma once

// Operator and function handlers of the extended evaluator (qcmplx values).
// Same contract as the COMPLEX handlers: operands on top of the array, the
// result in place of the first one, error -1 when the group lacks operands.

#include "numerics/qlib.h"

typedef void (*LPFNHANDLEREX)(qcmplx* pStack, long& nCount, long nBase);

void AddEx(qcmplx* pStack, long& nCount, long nBase);
void SubEx(qcmplx* pStack, long& nCount, long nBase);
void MulEx(qcmplx* pStack, long& nCount, long nBase);
void DivEx(qcmplx* pStack, long& nCount, long nBase);
void PowEx(qcmplx* pStack, long& nCount, long nBase);
void rootEx(qcmplx* pStack, long& nCount, long nBase);
void irootEx(qcmplx* pStack, long& nCount, long nBase);
void expEx(qcmplx* pStack, long& nCount, long nBase);
void iexpEx(qcmplx* pStack, long& nCount, long nBase);
void PercentEx(qcmplx* pStack, long& nCount, long nBase);
void FactorialEx(qcmplx* pStack, long& nCount, long nBase);
void modEx(qcmplx* pStack, long& nCount, long nBase);
void shlEx(qcmplx* pStack, long& nCount, long nBase);
void shrEx(qcmplx* pStack, long& nCount, long nBase);
void rtlEx(qcmplx* pStack, long& nCount, long nBase);
void rtrEx(qcmplx* pStack, long& nCount, long nBase);
void ANDFEx(qcmplx* pStack, long& nCount, long nBase);
void ORFEx(qcmplx* pStack, long& nCount, long nBase);
void XORFEx(qcmplx* pStack, long& nCount, long nBase);
void NANDFEx(qcmplx* pStack, long& nCount, long nBase);
void NORFEx(qcmplx* pStack, long& nCount, long nBase);
void notEx(qcmplx* pStack, long& nCount, long nBase);
void cplEx(qcmplx* pStack, long& nCount, long nBase);
void SqrtEx(qcmplx* pStack, long& nCount, long nBase);
void AbsEx(qcmplx* pStack, long& nCount, long nBase);
void LnEx(qcmplx* pStack, long& nCount, long nBase);
void LogEx(qcmplx* pStack, long& nCount, long nBase);
void SinEx(qcmplx* pStack, long& nCount, long nBase);
void CosEx(qcmplx* pStack, long& nCount, long nBase);
void TanEx(qcmplx* pStack, long& nCount, long nBase);
void CTanEx(qcmplx* pStack, long& nCount, long nBase);
void SecEx(qcmplx* pStack, long& nCount, long nBase);
void CSecEx(qcmplx* pStack, long& nCount, long nBase);
void ASinEx(qcmplx* pStack, long& nCount, long nBase);
void ACosEx(qcmplx* pStack, long& nCount, long nBase);
void ATanEx(qcmplx* pStack, long& nCount, long nBase);
void ACotEx(qcmplx* pStack, long& nCount, long nBase);
void ASecEx(qcmplx* pStack, long& nCount, long nBase);
void ACscEx(qcmplx* pStack, long& nCount, long nBase);
void SinhEx(qcmplx* pStack, long& nCount, long nBase);
void CoshEx(qcmplx* pStack, long& nCount, long nBase);
void TanhEx(qcmplx* pStack, long& nCount, long nBase);
void CtanhEx(qcmplx* pStack, long& nCount, long nBase);
void SechEx(qcmplx* pStack, long& nCount, long nBase);
void CSechEx(qcmplx* pStack, long& nCount, long nBase);
void ASinhEx(qcmplx* pStack, long& nCount, long nBase);
void ACoshEx(qcmplx* pStack, long& nCount, long nBase);
void ATanhEx(qcmplx* pStack, long& nCount, long nBase);
void ACothEx(qcmplx* pStack, long& nCount, long nBase);
void ASechEx(qcmplx* pStack, long& nCount, long nBase);
void ACschEx(qcmplx* pStack, long& nCount, long nBase);
