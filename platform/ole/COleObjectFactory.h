#pragma once

#include "platform/base/CRuntimeClass.h"
#include "platform/base/WinTypes.h"

#include <memory>
#include <string>

class ClassFactoryServer;

// A class factory publishes one creatable automation class under its ProgID. Constructing
// one enters it in the process's list of factories; the statics work over that list.
//
// Here a factory lives on the D-Bus session bus: its "registry entries" are a D-Bus
// activation file that names this program, and registering it as running means owning
// the bus name that equals the ProgID and serving the class factory object there. With
// the multiple-instance flag set, a registration serves one object only: after the first
// creation the process gives up the name, so D-Bus starts a new process for the next
// client. docs/automation.md describes the protocol.
class COleObjectFactory {
  public:
    COleObjectFactory(REFCLSID clsid, const CRuntimeClass* pRuntimeClass, BOOL bMultiInstance,
                      const char* lpszProgID);
    COleObjectFactory(const COleObjectFactory&) = delete;
    COleObjectFactory& operator=(const COleObjectFactory&) = delete;
    ~COleObjectFactory();

    // Registers every factory of the process as running. FALSE when any of them could not
    // be registered (no session bus, the name already owned); the others stay registered.
    static BOOL RegisterAll();
    // Gives up every running registration and its bus connection. The program calls it on
    // its way out, while the application object still exists; objects that clients still
    // hold are abandoned then, not released.
    static void RevokeAll();
    // Writes (or with FALSE removes) the activation file of every factory. FALSE when any
    // file could not be written or removed.
    static BOOL UpdateRegistryAll(BOOL bRegister = TRUE);

    BOOL Register();
    void Revoke();
    BOOL IsRegistered() const;
    BOOL UpdateRegistry(BOOL bRegister = TRUE);

    REFCLSID GetClassID() const { return m_clsid; }
    const std::string& GetProgID() const { return m_strProgID; }
    const CRuntimeClass* GetRuntimeClass() const { return m_pRuntimeClass; }
    BOOL IsMultiInstance() const { return m_bMultiInstance; }

  private:
    CLSID m_clsid;
    const CRuntimeClass* m_pRuntimeClass;
    BOOL m_bMultiInstance;
    std::string m_strProgID;
    std::unique_ptr<ClassFactoryServer> m_pServer;
};
