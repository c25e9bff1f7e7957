#!/usr/bin/python3
"""Writes password-protected copies of a document with the office suite.

make_encrypted_documents.py SOURCE OUTDIR writes OUTDIR/encrypted.docx (an OLE2 file around the
encrypted package) and OUTDIR/encrypted.doc (fEncrypted set), both with the password "pw".
"""
import os, shutil, subprocess, sys, tempfile, time
import uno
from com.sun.star.beans import PropertyValue, NamedValue

def prop(name, value):
    p = PropertyValue(); p.Name = name; p.Value = value; return p

def named(name, value):
    n = NamedValue(); n.Name = name; n.Value = value; return n

def main():
    src, outdir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    profile = tempfile.mkdtemp(prefix="soffice-profile-")
    os.makedirs(profile + "/user")
    # Skips the first-start graphics tests, which take seconds.
    with open(profile + "/user/registrymodifications.xcu", "w") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<oor:items xmlns:oor="http://openoffice.org/2001/registry">'
                '<item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion" oor:op="fuse">'
                '<value>99.9</value></prop></item></oor:items>\n')
    pipe = "marrowdale_encrypt_%d" % os.getpid()
    command = ["soffice", "-env:UserInstallation=file://" + profile, "--headless",
               "--invisible", "--norestore", "--nologo", "--accept=pipe,name=%s;urp;" % pipe]
    office = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        ctx = None
        for _ in range(600):
            try:
                ctx = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
                break
            except Exception:
                time.sleep(0.05)
                if office.poll() == 81:  # the first start of a new profile asks to be started again
                    office = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if ctx is None:
            sys.exit("the office suite did not start")
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(src), "_blank", 0, (prop("Hidden", True), prop("ReadOnly", True)))
        if doc is None:
            sys.exit("cannot load " + src)
        ooxml = uno.Any("[]com.sun.star.beans.NamedValue", (named("OOXPassword", "pw"), named("CryptoType", "Standard")))
        outputs = (("encrypted.docx", [prop("FilterName", "MS Word 2007 XML"), prop("EncryptionData", ooxml)]),
                   ("encrypted.doc", [prop("FilterName", "MS Word 97"), prop("Password", "pw")]))
        for name, args in outputs:
            uno.invoke(doc, "storeToURL", (uno.systemPathToFileUrl(os.path.join(outdir, name)), tuple(args)))
        doc.close(True)
        try:
            desktop.terminate()
        except Exception:
            pass
    finally:
        try:
            office.wait(timeout=20)
        except subprocess.TimeoutExpired:
            office.kill()
            office.wait()
        shutil.rmtree(profile, ignore_errors=True)

main()
