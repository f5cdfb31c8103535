#pragma once
// Scoped initialisation of COM and OLE for the calling thread, and an owning holder for
// the storage medium a data object hands out.
#include <windows.h>
#include <ole2.h>

// CoInitializeEx for this thread, undone when the object goes if it succeeded.
class ComApartment {
public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) : result_(CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

// OleInitialize for this thread, undone when the object goes if it succeeded.
class OleSession {
public:
    OleSession() : result_(OleInitialize(nullptr)) {}
    ~OleSession() {
        if (SUCCEEDED(result_)) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

// A STGMEDIUM from IDataObject::GetData, released with ReleaseStgMedium when the object
// goes or takes another.
class StgMedium {
public:
    StgMedium() = default;
    ~StgMedium() { Reset(); }
    StgMedium(const StgMedium&) = delete;
    StgMedium& operator=(const StgMedium&) = delete;

    // For GetData's out-parameter: releases what was held and hands out the slot.
    STGMEDIUM* Put() {
        Reset();
        return &medium_;
    }
    const STGMEDIUM& Get() const { return medium_; }
    // Moves the medium held by `other` here, releasing what this one held.
    void Take(StgMedium& other) {
        if (&other == this) return;
        Reset();
        medium_ = other.medium_;
        other.medium_ = STGMEDIUM();
    }
    void Reset() {
        if (medium_.tymed != TYMED_NULL) ReleaseStgMedium(&medium_);
        medium_ = STGMEDIUM();
    }

private:
    STGMEDIUM medium_ = {};
};
