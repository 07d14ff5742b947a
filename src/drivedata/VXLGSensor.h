#pragma once

// One G-sensor sample of a drive record: acceleration on the three axes, in g.
struct VXLGSensor
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    VXLGSensor() = default;
    VXLGSensor(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}
};
