#include "platform/d3d9/D3DX9.h"

#include <cmath>

D3DXMATRIX *D3DXMatrixIdentity(D3DXMATRIX *out)
{
    *out = D3DXMATRIX{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    return out;
}

D3DXMATRIX *D3DXMatrixMultiply(D3DXMATRIX *out, const D3DXMATRIX *a, const D3DXMATRIX *b)
{
    D3DXMATRIX product;
    for (int row = 0; row < 4; row++)
        for (int column = 0; column < 4; column++) {
            float sum = 0;
            for (int k = 0; k < 4; k++)
                sum += a->m[row][k] * b->m[k][column];
            product.m[row][column] = sum;
        }
    *out = product;
    return out;
}

D3DXMATRIX *D3DXMatrixTranslation(D3DXMATRIX *out, float x, float y, float z)
{
    D3DXMatrixIdentity(out);
    out->m[3][0] = x;
    out->m[3][1] = y;
    out->m[3][2] = z;
    return out;
}

D3DXMATRIX *D3DXMatrixScaling(D3DXMATRIX *out, float x, float y, float z)
{
    D3DXMatrixIdentity(out);
    out->m[0][0] = x;
    out->m[1][1] = y;
    out->m[2][2] = z;
    return out;
}

D3DXMATRIX *D3DXMatrixRotationX(D3DXMATRIX *out, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->m[1][1] = c;
    out->m[1][2] = s;
    out->m[2][1] = -s;
    out->m[2][2] = c;
    return out;
}

D3DXMATRIX *D3DXMatrixRotationY(D3DXMATRIX *out, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->m[0][0] = c;
    out->m[0][2] = -s;
    out->m[2][0] = s;
    out->m[2][2] = c;
    return out;
}

D3DXMATRIX *D3DXMatrixRotationZ(D3DXMATRIX *out, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->m[0][0] = c;
    out->m[0][1] = s;
    out->m[1][0] = -s;
    out->m[1][1] = c;
    return out;
}

D3DXMATRIX *D3DXMatrixRotationYawPitchRoll(D3DXMATRIX *out, float yaw, float pitch, float roll)
{
    D3DXMATRIX z, x, y;
    D3DXMatrixRotationZ(&z, roll);
    D3DXMatrixRotationX(&x, pitch);
    D3DXMatrixRotationY(&y, yaw);
    D3DXMatrixMultiply(out, &z, &x);
    return D3DXMatrixMultiply(out, out, &y);
}

D3DXMATRIX *D3DXMatrixPerspectiveFovRH(D3DXMATRIX *out, float fov_y, float aspect, float near_z, float far_z)
{
    float s = std::cos(fov_y / 2) / std::sin(fov_y / 2);
    float q = far_z / (near_z - far_z);
    *out = D3DXMATRIX{};
    out->m[0][0] = s / aspect;
    out->m[1][1] = s;
    out->m[2][2] = q;
    out->m[2][3] = -1;
    out->m[3][2] = near_z * q;
    return out;
}

D3DXMATRIX *D3DXMatrixOrthoOffCenterLH(D3DXMATRIX *out, float left, float right, float bottom, float top,
                                       float near_z, float far_z)
{
    D3DXMatrixIdentity(out);
    out->m[0][0] = 2 / (right - left);
    out->m[1][1] = 2 / (top - bottom);
    out->m[2][2] = 1 / (far_z - near_z);
    out->m[3][0] = (left + right) / (left - right);
    out->m[3][1] = (top + bottom) / (bottom - top);
    out->m[3][2] = near_z / (near_z - far_z);
    return out;
}

D3DXVECTOR3 *D3DXVec3TransformCoord(D3DXVECTOR3 *out, const D3DXVECTOR3 *v, const D3DXMATRIX *m)
{
    float in[4] = {v->x, v->y, v->z, 1};
    float result[4];
    for (int column = 0; column < 4; column++)
        result[column] = in[0] * m->m[0][column] + in[1] * m->m[1][column] + in[2] * m->m[2][column] +
                         in[3] * m->m[3][column];
    float w = result[3] != 0 ? result[3] : 1;
    *out = {result[0] / w, result[1] / w, result[2] / w};
    return out;
}
